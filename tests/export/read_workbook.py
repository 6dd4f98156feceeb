"""Reads an .xlsx workbook with openpyxl (independent of the writer) and prints its sheets as
JSON: each sheet's name, merged ranges, frozen cell, column widths and every cell's value,
type, number format and boldness."""
import datetime
import json
import sys

import openpyxl
from openpyxl.utils import get_column_letter


def cell(c):
    v = c.value
    if isinstance(v, (datetime.datetime, datetime.date)):
        v = v.strftime("%Y-%m-%d")
    return {"v": v, "t": c.data_type, "f": c.number_format, "b": bool(c.font and c.font.b)}


def sheet_of(sheet):
    return {
        "name": sheet.title,
        "merged": [str(r) for r in sheet.merged_cells.ranges],
        "frozen": sheet.freeze_panes,
        "widths": [sheet.column_dimensions[get_column_letter(i)].width for i in range(1, sheet.max_column + 1)],
        "rows": [[cell(c) for c in row] for row in sheet.iter_rows(min_row=1, max_row=sheet.max_row)],
    }


book = openpyxl.load_workbook(sys.argv[1])
print(json.dumps([sheet_of(s) for s in book.worksheets], ensure_ascii=False))
