#!/usr/bin/env python3
"""Makes "Sales Log2 ties.mdb" from "Sales Log2.mdb" beside it: the same
Access file with a few rows edited in place, for the tests of how the import
ties rows into deals. No tool at hand writes Access files, so the rows are
rewritten byte by byte in the file's data pages (Jet 4: 4096-byte pages, text
in its one-byte "compressed" form), each row keeping its length.

The edits (every other row and value stays as it is):

- two deals sharing stock number, date and salesperson: the deal T4301 of
  Tom Briggs (LINDA PARK, 10/16/04) becomes N3012 of 01/06/03, the stock
  number and date of his deal with CARL JENSEN, in all three tables;
- a hand-edited log name: the SalesLog row of N4102 names "LENA SRTAND"
  where the deal's salesperson is Lena Strand;
- a stray space in one table only: the SalesSummary row of U4130A holds the
  stock number "U4130A " (the leading blank of its unit " SEDAN LX" moved
  behind the stock number).

Usage: make_ties_file.py [FOLDER]   (FOLDER holds "Sales Log2.mdb")
"""
import datetime
import struct
import sys
from pathlib import Path

PAGE = 4096
SOURCE = "Sales Log2.mdb"
TARGET = "Sales Log2 ties.mdb"


def text(value):
    """A Jet 4 text value in its compressed form."""
    return b"\xff\xfe" + value.encode("cp1252")


def day(value):
    """A Date/Time value: days since 30 December 1899, as a double."""
    return struct.pack("<d", float((value - datetime.date(1899, 12, 30)).days))


class Row:
    def __init__(self, data, page, start, end):
        self.data, self.start, self.end = data, page * PAGE + start, page * PAGE + end
        row = data[self.start:self.end]
        columns = struct.unpack_from("<H", row, 0)[0]
        self.mask = (columns + 7) // 8
        last = len(row) - 1
        count = struct.unpack_from("<H", row, last - self.mask - 1)[0]
        self.offsets = [struct.unpack_from("<H", row, last - self.mask - 3 - 2 * i)[0]
                        for i in range(count + 1)]

    def column(self, index):
        return bytes(self.data[self.start + self.offsets[index]:self.start + self.offsets[index + 1]])

    def set_columns(self, values):
        """Rewrites variable columns {index: bytes}; the row keeps its length."""
        old = [self.column(i) for i in range(len(self.offsets) - 1)]
        new = [values.get(i, value) for i, value in enumerate(old)]
        assert sum(map(len, new)) == sum(map(len, old)), "the row would change length"
        position = self.offsets[0]
        last = self.end - self.start - 1
        for i, value in enumerate(new):
            self.data[self.start + position:self.start + position + len(value)] = value
            position += len(value)
            struct.pack_into("<H", self.data, self.start + last - self.mask - 3 - 2 * (i + 1),
                             position)

    def set_fixed(self, offset, value):
        """Rewrites bytes of the fixed columns, `offset` from the row's data."""
        self.data[self.start + 2 + offset:self.start + 2 + offset + len(value)] = value


def rows(data):
    """Every row of every data page."""
    for page in range(len(data) // PAGE):
        base = page * PAGE
        if data[base] != 1:
            continue
        count = struct.unpack_from("<H", data, base + 12)[0]
        end = PAGE
        for i in range(count):
            entry = struct.unpack_from("<H", data, base + 14 + 2 * i)[0]
            start = entry & 0x1FFF
            if not entry & 0xC000 and start < end:  # not deleted, not a pointer
                try:
                    yield Row(data, page, start, end)
                except (struct.error, IndexError):
                    pass  # not a row of a user table
            end = start


def find(data, columns):
    """The one row whose variable columns begin with `columns` (texts)."""
    found = [row for row in rows(data)
             if len(row.offsets) > len(columns)
             and all(row.column(i) == text(v) for i, v in enumerate(columns))]
    assert len(found) == 1, (columns, len(found))
    return found[0]


def main():
    folder = Path(sys.argv[1] if len(sys.argv) > 1 else Path(__file__).parent)
    data = bytearray((folder / SOURCE).read_bytes())
    date_n3012 = day(datetime.date(2003, 1, 6))
    date_t4301 = day(datetime.date(2004, 10, 16))

    # SalesSummary: Unit, Stock_Number, Customer_Name, Sales_Person, TCU.
    summary = find(data, ["2005 EXTENDED CAB 4X4 XLT", "T4301", "LINDA PARK", "TOM BRIGGS"])
    assert summary.data[summary.start + 2:summary.start + 10] == date_t4301
    summary.set_columns({1: text("N3012")})
    summary.set_fixed(0, date_n3012)
    stray = find(data, [" SEDAN LX", "U4130A", "JILL FISCHER"])
    stray.set_columns({0: text("SEDAN LX"), 1: text("U4130A ")})

    # SalesLog: StockNumber, Unit, CustomerName, SalesPerson, Type, TCU.
    log = find(data, ["T4301", "2005 EXTENDED CAB 4X4 XLT", "LINDA PARK", "TOM BRIGGS"])
    assert log.data[log.start + 2:log.start + 10] == date_t4301
    log.set_columns({0: text("N3012")})
    log.set_fixed(0, date_n3012)
    edited = find(data, ["N4102", "2004 SEDAN LX", "MARK DOYLE", "LENA STRAND"])
    edited.set_columns({3: text("LENA SRTAND")})

    # RecallDeal: SalesPerson, Customer, StockNo, ...
    recall = find(data, ["Tom Briggs", "LINDA PARK", "T4301"])
    assert recall.data[recall.start + 2:recall.start + 10] == date_t4301
    recall.set_columns({2: text("N3012")})
    recall.set_fixed(0, date_n3012)

    (folder / TARGET).write_bytes(bytes(data))


if __name__ == "__main__":
    main()
