"""Writes an Excel 97-2003 (.xls) staff list with xlwt (Debian's python3-xlwt): the rows given
as JSON on stdin, the first being the header; {"date": "yyyy-mm-dd"} becomes a date cell."""
import datetime
import json
import sys

import xlwt

book = xlwt.Workbook(encoding="utf-8")
sheet = book.add_sheet("职工")
date_style = xlwt.easyxf(num_format_str="yyyy-mm-dd")
for r, row in enumerate(json.load(sys.stdin)):
    for c, value in enumerate(row):
        if isinstance(value, dict):
            sheet.write(r, c, datetime.datetime.strptime(value["date"], "%Y-%m-%d"), date_style)
        elif value != "":
            sheet.write(r, c, value)
book.save(sys.argv[1])
