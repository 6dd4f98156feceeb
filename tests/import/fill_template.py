"""Fills the import template as a clerk would in a spreadsheet program, with openpyxl (not the
program's own writer): reads the template, writes the rows given as JSON on stdin under its
header row and saves the workbook under a new name. A value {"date": "yyyy-mm-dd"} becomes a
real Excel date, a number stays a number.

Also prints the header row and the list choices of each column as JSON, so a test can see
what the template offers."""
import datetime
import json
import sys

import openpyxl

template, out = sys.argv[1], sys.argv[2]
book = openpyxl.load_workbook(template)
sheet = book.worksheets[0]
for r, row in enumerate(json.load(sys.stdin), start=2):
    for c, value in enumerate(row, start=1):
        if isinstance(value, dict):
            value = datetime.datetime.strptime(value["date"], "%Y-%m-%d")
            sheet.cell(row=r, column=c, value=value).number_format = "yyyy-mm-dd"
        elif value != "":
            sheet.cell(row=r, column=c, value=value)
book.save(out)
header = [cell.value for cell in sheet[1]]
lists = {}
for validation in sheet.data_validations.dataValidation:
    if validation.type == "list":
        column = str(validation.sqref).split(":")[0].rstrip("0123456789")
        source = validation.formula1.lstrip("=")
        sheet_name, cells = source.split("!")
        first, last = cells.replace("$", "").split(":")
        choices = [row[0].value for row in book[sheet_name][first + ":" + last]]
        lists[header[openpyxl.utils.column_index_from_string(column) - 1]] = choices
print(json.dumps({"header": header, "lists": lists}, ensure_ascii=False))
