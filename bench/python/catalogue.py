"""The catalogue reference page with Jinja2 (autoescaping) on SQLite.

    python3 catalogue.py DB N BATCHES OUT

Renders once to warm up, then BATCHES batches of N renders, printing one line
"batch MS" per batch; the last page rendered goes to OUT. Python's sqlite3 cannot
open SQLCipher files, so DB is a plain copy of the data.
"""
import os
import sqlite3
import sys
import time

from jinja2 import Environment, FileSystemLoader


def main():
    path, n, batches, out = sys.argv[1], int(sys.argv[2]), int(sys.argv[3]), sys.argv[4]
    env = Environment(loader=FileSystemLoader(os.path.dirname(os.path.abspath(__file__))),
                      autoescape=True, trim_blocks=True, keep_trailing_newline=True,
                      newline_sequence='\r\n')
    template = env.get_template('catalogue.html.j2')
    db = sqlite3.connect('file:' + path + '?mode=ro', uri=True)
    db.row_factory = lambda cursor, row: {c[0]: v for c, v in zip(cursor.description, row)}

    def render():
        rows = db.execute('SELECT * FROM valves ORDER BY series, dn').fetchall()
        return template.render(rows=rows)

    page = render()
    for _ in range(batches):
        start = time.perf_counter()
        for _ in range(n):
            page = render()
        print('batch %.3f' % ((time.perf_counter() - start) * 1000.0), flush=True)
    with open(out, 'wb') as f:
        f.write(page.encode('utf-8'))


if __name__ == '__main__':
    main()
