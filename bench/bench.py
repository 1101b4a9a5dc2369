#!/usr/bin/env python3
"""Runs the benchmarks and prints the table (bench/run.sh calls this; see README.md).

Every engine figure is the median over rounds of a batch difference: one process
renders the page W times, another W + N times (`vantrel render --repeat`), and the
difference over N is the time of one page. Databases are opened by the first render
of each process, so the opening (key derivation included) cancels out. The floor
and the peers open their database first and time batches of N renders in-process.
Peak memory is the maximum resident set size of the process (/usr/bin/time).
"""
import argparse
import hashlib
import os
import re
import shutil
import statistics
import subprocess
import sys
import time

HERE = os.path.dirname(os.path.abspath(__file__))
ROOT = os.path.dirname(HERE)
PASSWORD = 'ferntopaz7153'
LOCALE = 'en-US'
PROLOGUE_END = b'vantrel.css">'
CLOSING_HEAD = b'<head><meta http-equiv="Pragma" content="no-cache"><meta http-equiv="expires" content="0"></head>'
SIZES = (1000, 10000, 100000)
WARM = 2  # renders of the shorter process in a batch difference


def log(msg):
    print(msg, file=sys.stderr, flush=True)


def load():
    with open('/proc/loadavg') as f:
        return f.read().split()[0]


# ---------- data ----------

def sqlcipher(db, sql):
    subprocess.run(['sqlcipher', db], input=sql.encode(), check=True, stdout=subprocess.DEVNULL)


def make_databases(work):
    """The encrypted catalogue of each size for the engine and the floor, and plain
    SQLite copies of the same rows for the peers, which cannot read SQLCipher files.
    Rebuilt only when bench/sql/valves.sql changes."""
    with open(os.path.join(HERE, 'sql', 'valves.sql')) as f:
        template = f.read()
    stamp = hashlib.sha1(template.encode()).hexdigest()
    dbs = {}
    for rows in SIZES:
        sql = template.replace('@ROWS@', str(rows))
        enc = os.path.join(work, 'data', f'valves-{rows}.QDB')
        plain = os.path.join(work, 'data', f'valves-{rows}-plain.db')
        stampfile = os.path.join(work, 'data', f'valves-{rows}.stamp')
        os.makedirs(os.path.dirname(enc), exist_ok=True)
        current = open(stampfile).read() if os.path.exists(stampfile) else ''
        if current != stamp or not (os.path.exists(enc) and os.path.exists(plain)):
            log(f'making the {rows}-row databases')
            for p in (enc, plain):
                if os.path.exists(p):
                    os.remove(p)
            sqlcipher(enc, f"PRAGMA key = '{PASSWORD}';\n" + sql)
            sqlcipher(plain, sql)
            with open(stampfile, 'w') as f:
                f.write(stamp)
        dbs[rows] = (enc, plain)
    return dbs


def result_set_bytes(plain):
    """The result set as text: the sum of the lengths of every value of every row."""
    out = subprocess.run(['sqlcipher', plain], check=True, capture_output=True,
                         input=b'SELECT sum(length(id) + length(series) + length(dn) + length(pn) + length(kvs)'
                               b' + length(material) + length(price) + length(in_stock)) FROM valves;\n')
    return int(out.stdout.decode().strip())


def text_page():
    """About 100 KB of text with 2,000 substitutions of 20 page variables."""
    words = ('valve body seat stem disc flow pressure nominal diameter series flange actuator '
             'gasket torque spindle bonnet packing lever coupling sleeve').split()
    lines = ['<cfset w%d = "%s">' % (k, 'value-%02d' % k) for k in range(20)]
    lines.append('<cfoutput>')
    n = 0
    state = 7
    while n < 2000:
        parts = []
        for _ in range(2):
            text = []
            for _ in range(4):
                state = (state * 1103515245 + 12345) % 2147483648
                text.append(words[state % len(words)])
            parts.append(' '.join(text) + ' #w%d#' % (n % 20))
            n += 1
        lines.append('<p>' + ' '.join(parts) + ' and the rest of it.</p>')
    lines.append('</cfoutput>')
    return '\n'.join(lines) + '\n'


def make_apps(work, dbs):
    """One application folder per catalogue size, with the bench pages."""
    apps = {}
    for rows, (enc, _) in dbs.items():
        app = os.path.join(work, f'app-{rows}')
        pages = os.path.join(app, 'Bench')
        os.makedirs(os.path.join(app, 'Database'), exist_ok=True)
        if os.path.isdir(pages):
            shutil.rmtree(pages)
        shutil.copytree(os.path.join(HERE, 'app', 'Bench'), pages)
        with open(os.path.join(pages, 'Text.qsp'), 'w') as f:
            f.write(text_page())
        target = os.path.join(app, 'Database', 'VantrelKVT.QDB')
        if os.path.lexists(target):
            os.remove(target)
        os.symlink(enc, target)
        apps[rows] = app
    return apps


def copy_demo(work):
    """A scratch copy of demo/ (pages may write files and data) and its pages."""
    src = os.path.join(ROOT, 'demo')
    dst = os.path.join(work, 'demo')
    if os.path.isdir(dst):
        shutil.rmtree(dst)
    if not os.path.isdir(src):
        return dst, []
    shutil.copytree(src, dst, symlinks=True)
    # The sample application's databases, made fresh from their SQL where it has a script.
    maker = os.path.join(dst, 'Database', 'make-databases.sh')
    if os.path.exists(maker):
        subprocess.run(['bash', maker, '--fresh'], check=False, stdout=subprocess.DEVNULL)
    pages = []
    for folder, _, files in os.walk(dst):
        for name in sorted(files):
            low = name.lower()
            if (low.endswith('.qsp') or low.endswith('.cfm')) and low != 'application.cfm':
                rel = os.path.relpath(os.path.join(folder, name), dst)
                pages.append('http://' + rel.replace('/', '\\'))
    return dst, sorted(pages)


# ---------- measuring ----------

class Failed(Exception):
    pass


def timed_run(cmd, cwd=None):
    """Runs cmd under /usr/bin/time; returns (stdout, stderr, peak RSS in KB)."""
    rss_file = os.path.join(os.environ.get('TMPDIR', '/tmp'), 'vantrel-bench-rss.%d' % os.getpid())
    p = subprocess.run(['/usr/bin/time', '-f', '%M', '-o', rss_file] + cmd, cwd=cwd,
                       stdout=subprocess.PIPE, stderr=subprocess.PIPE)
    try:
        with open(rss_file) as f:
            rss = int(f.read().strip().splitlines()[-1])
    except (OSError, ValueError, IndexError):
        rss = 0
    if p.returncode != 0:
        raise Failed('%s exited with %d: %s' % (os.path.basename(cmd[0]), p.returncode,
                                                p.stderr.decode(errors='replace').strip()[-300:]))
    return p.stdout, p.stderr.decode(errors='replace'), rss


def engine_run(engine, app, url, repeat, out=None):
    cmd = [engine, 'render', '--app', app, '--locale', LOCALE, '--write-pause-ms', '0', '--repeat', str(repeat)]
    if out:
        cmd += ['--out', out]
    stdout, stderr, rss = timed_run(cmd + [url])
    m = re.search(r'rendered (\d+) pages in (\d+) ms', stderr)
    if not m:
        raise Failed('no timing from vantrel: ' + stderr.strip()[-300:])
    return int(m.group(2)), rss, stdout


def engine_calibrate(engine, app, url, budget_ms):
    """The batch size N for which a batch takes about budget_ms, the peak RSS and the page."""
    t_a, rss, page = engine_run(engine, app, url, WARM)
    # A difference of a few milliseconds says little: more pages until it is 20 ms.
    for extra in (4, 32, 256):
        t_b, _, _ = engine_run(engine, app, url, WARM + extra)
        if t_b - t_a >= 20:
            break
    estimate = max((t_b - t_a) / float(extra), 0.02)
    return int(min(max(budget_ms / estimate, 4), 20000)), rss, page


def engine_round(engine, app, url, n):
    """One batch difference: (ms per page, peak RSS)."""
    t_a, rss_a, _ = engine_run(engine, app, url, WARM)
    t_b, rss_b, _ = engine_run(engine, app, url, WARM + n)
    return (t_b - t_a) / n, max(rss_a, rss_b)


def batch_program(cmd, n_probe, rounds, budget_ms, out):
    """A program that prints "batch MS" lines for batches of N renders: (median ms per
    page, min, max, peak RSS KB)."""
    stdout, _, _ = timed_run(cmd(n_probe, 1, out))
    probe = float(re.findall(rb'batch ([0-9.]+)', stdout)[-1]) / n_probe
    n = int(min(max(budget_ms / max(probe, 0.001), 3), 20000))
    stdout, _, rss = timed_run(cmd(n, rounds, out))
    batches = [float(x) / n for x in re.findall(rb'batch ([0-9.]+)', stdout)]
    if not batches:
        raise Failed('no batches reported')
    return statistics.median(batches), min(batches), max(batches), rss


def body_of(page):
    start = page.find(PROLOGUE_END)
    end = page.rfind(CLOSING_HEAD)
    if start < 0 or end < 0:
        return page
    return page[start + len(PROLOGUE_END):end]


# ---------- table ----------

class Table:
    def __init__(self):
        self.rows = []

    def add(self, page, renderer, med=None, lo=None, hi=None, ratio='', size=None, rss=None, same='', note=''):
        self.rows.append([page, renderer,
                          '' if med is None else fmt_ms(med),
                          '' if lo is None else '%s-%s' % (fmt_ms(lo), fmt_ms(hi)),
                          ratio,
                          '' if size is None else '{:,}'.format(size),
                          '' if size is None or med is None or med <= 0 else '%.0f' % (size / med / 1000.0),
                          '' if not rss else '%.1f' % (rss / 1024.0),
                          same, note])

    def print(self):
        head = ['page', 'renderer', 'ms/page', 'range', 'x floor', 'out bytes', 'MB/s', 'peak MB', 'same bytes',
                'note']
        rows = [head] + self.rows
        widths = [max(len(r[i]) for r in rows) for i in range(len(head))]
        print('| ' + ' | '.join(h.ljust(w) for h, w in zip(head, widths)) + ' |')
        print('|' + '|'.join('-' * (w + 2) for w in widths) + '|')
        for r in self.rows:
            print('| ' + ' | '.join(c.ljust(w) for c, w in zip(r, widths)) + ' |')
        sys.stdout.flush()


def fmt_ms(ms):
    if ms >= 100:
        return '%.0f' % ms
    if ms >= 10:
        return '%.1f' % ms
    if ms >= 1:
        return '%.2f' % ms
    return '%.3f' % ms


def main():
    ap = argparse.ArgumentParser()
    ap.add_argument('--engine', required=True)
    ap.add_argument('--floor', required=True)
    ap.add_argument('--work', required=True)
    ap.add_argument('--baseline', help='an earlier vantrel binary, measured beside the current one')
    ap.add_argument('--rounds', type=int, default=7)
    ap.add_argument('--budget-ms', type=float, default=400)
    ap.add_argument('--skip', default='', help='comma-separated peers to leave out: php,jinja2,ejs')
    ap.add_argument('--quick', action='store_true', help='fewer rounds and no 100,000-row timing')
    args = ap.parse_args()
    if args.quick:
        args.rounds = 3
        args.budget_ms = 200
    skip = set(s for s in args.skip.split(',') if s)
    os.makedirs(args.work, exist_ok=True)
    outdir = os.path.join(args.work, 'out')
    os.makedirs(outdir, exist_ok=True)

    load_before = load()
    dbs = make_databases(args.work)
    apps = make_apps(args.work, dbs)
    engines = [('engine', args.engine)]
    if args.baseline:
        engines.append(('engine (before)', args.baseline))
    table = Table()
    rounds, budget = args.rounds, args.budget_ms

    def engine_rows(label, app, url, floor_ms=None, note=''):
        """Measures the page with every engine binary, their rounds interleaved so that a
        change of load on the machine affects them alike; returns the current engine's body."""
        runs = []
        for name, binary in engines:
            try:
                n, rss, page = engine_calibrate(binary, app, url, budget)
                runs.append([name, binary, n, [rss], [], page])
            except Failed as e:
                table.add(label, name, note='failed: %s' % e)
        for _ in range(rounds):
            for run in runs:
                if run[4] is None:
                    continue
                try:
                    ms, rss = engine_round(run[1], app, url, run[2])
                    run[4].append(ms)
                    run[3].append(rss)
                except Failed as e:
                    table.add(label, run[0], note='failed: %s' % e)
                    run[4] = None
        body = None
        for name, _, n, rsses, times, page in runs:
            if not times:
                continue
            if body is None:
                body = body_of(page)
            med = statistics.median(times)
            ratio = '%.2f' % (med / floor_ms) if floor_ms else ''
            table.add(label, name, med, min(times), max(times), ratio, len(page), max(rsses),
                      note=note or 'N=%d' % n)
        return body

    # The sample application's pages.
    demo_app, demo_pages = copy_demo(args.work)
    if not demo_pages:
        table.add('demo', 'engine', note='skipped: no pages in demo/')
    for url in demo_pages:
        log('demo ' + url)
        label = 'demo ' + url[len('http://'):]
        try:
            _, _, page = engine_run(args.engine, demo_app, url, 2)
            if not page:
                table.add(label, 'engine', note='skipped: delivers no page')
                continue
        except Failed as e:
            table.add(label, 'engine', note='skipped: %s' % e)
            continue
        engine_rows(label, demo_app, url)

    # The reference page over 1,000 rows: the floor, the engine and the peers.
    enc, plain = dbs[1000]
    label = 'catalogue 1,000 rows'
    log(label)
    floor_out = os.path.join(outdir, 'floor-1000.html')

    def floor_cmd(db, key, out_path):
        return lambda n, b, out: [args.floor, db, key, str(n), str(b), out_path]

    floor_ms = None
    try:
        floor_ms, lo, hi, rss = batch_program(floor_cmd(enc, PASSWORD, floor_out), 20, rounds, budget, floor_out)
    except Failed as e:
        table.add(label, 'floor (C++, SQLCipher)', note='failed: %s' % e)
    body = engine_rows(label, apps[1000], 'http://Bench\\Catalogue.qsp', floor_ms)
    if floor_ms:
        same = ''
        if body is not None:
            same = 'yes' if open(floor_out, 'rb').read() == body else 'NO'
        table.add(label, 'floor (C++, SQLCipher)', floor_ms, lo, hi, '1.00', os.path.getsize(floor_out), rss, same)
    try:
        plain_out = os.path.join(outdir, 'floor-plain-1000.html')
        med, lo, hi, rss = batch_program(floor_cmd(plain, '-', plain_out), 20, rounds, budget, plain_out)
        table.add(label, 'floor on the plain copy', med, lo, hi, '%.2f' % (med / floor_ms) if floor_ms else '',
                  os.path.getsize(plain_out), rss, 'yes' if body is not None and open(plain_out, 'rb').read() == body
                  else 'NO', 'unencrypted SQLite file, as the peers read')
    except Failed as e:
        table.add(label, 'floor on the plain copy', note='failed: %s' % e)

    peers = [
        ('php', 'PHP 8.2 (PDO)', lambda n, b, out: ['php', os.path.join(HERE, 'php', 'catalogue.php'), plain,
                                                      str(n), str(b), out], shutil.which('php')),
        ('jinja2', 'Python Jinja2', lambda n, b, out: ['/usr/bin/python3', os.path.join(HERE, 'python', 'catalogue.py'),
                                                        plain, str(n), str(b), out],
         subprocess.run(['/usr/bin/python3', '-c', 'import jinja2'], capture_output=True).returncode == 0
         if os.path.exists('/usr/bin/python3') else False),
        ('ejs', 'Node EJS', lambda n, b, out: ['node', os.path.join(HERE, 'node', 'catalogue.js'), plain,
                                                str(n), str(b), out],
         shutil.which('node') and os.path.isdir(os.path.join(HERE, 'node', 'node_modules', 'better-sqlite3'))),
    ]
    for key, name, cmd, available in peers:
        if key in skip or not available:
            table.add(label, name, note='skipped: not installed' if key not in skip else 'skipped')
            continue
        log(name)
        out = os.path.join(outdir, '%s-1000.html' % key)
        try:
            med, lo, hi, rss = batch_program(cmd, 5, rounds, budget, out)
        except Failed as e:
            table.add(label, name, note='failed: %s' % e)
            continue
        same = 'yes' if body is not None and open(out, 'rb').read() == body else 'NO'
        table.add(label, name, med, lo, hi, '%.2f' % (med / floor_ms) if floor_ms else '', os.path.getsize(out),
                  rss, same, 'plain SQLite copy')

    # The same page over 10,000 and 100,000 rows: time and memory.
    for rows in (10000, 100000):
        enc, plain = dbs[rows]
        label = 'catalogue {:,} rows'.format(rows)
        log(label)
        big_rounds = rounds if rows == 10000 else max(3, rounds // 2)
        if rows == 100000 and args.quick:
            big_rounds = 1
        floor_out = os.path.join(outdir, 'floor-%d.html' % rows)
        fl = None
        try:
            fl, flo, fhi, frss = batch_program(floor_cmd(enc, PASSWORD, floor_out), 2, big_rounds, budget, floor_out)
        except Failed as e:
            table.add(label, 'floor (C++, SQLCipher)', note='failed: %s' % e)
        saved = rounds
        rounds = big_rounds
        body = engine_rows(label, apps[rows], 'http://Bench\\Catalogue.qsp', fl)
        rounds = saved
        if fl:
            table.add(label, 'floor (C++, SQLCipher)', fl, flo, fhi, '1.00', os.path.getsize(floor_out), frss,
                      'yes' if body is not None and open(floor_out, 'rb').read() == body else 'NO')

    # Text and clauses.
    label = 'text 100 KB, 2,000 substitutions'
    log(label)
    engine_rows(label, apps[1000], 'http://Bench\\Text.qsp')
    label = 'clause loop, 1,000 passes'
    log(label)
    engine_rows(label, apps[1000], 'http://Bench\\Loops.qsp')

    # The memory goal: the 100,000-row page against its output and result set.
    try:
        _, base_rss, _ = engine_run(args.engine, apps[100000], 'http://Bench\\Empty.qsp', 2)
        _, peak, page = engine_run(args.engine, apps[100000], 'http://Bench\\Catalogue.qsp', 2)
        rs = result_set_bytes(dbs[100000][1])
        grown = (peak - base_rss) * 1024
        memory = ('100,000-row page: peak RSS %.1f MB, of which %.1f MB above an empty page (%.1f MB); '
                  'output %.1f MB + result set %.1f MB = %.1f MB; growth / (output + result set) = %.2f (goal < 4)'
                  % (peak / 1024.0, grown / 1048576.0, base_rss / 1024.0, len(page) / 1048576.0, rs / 1048576.0,
                     (len(page) + rs) / 1048576.0, grown / float(len(page) + rs)))
    except Failed as e:
        memory = 'memory goal: failed: %s' % e

    print()
    print('Machine: %d cores, %s; load average %s before, %s after; %d rounds, batches of about %d ms.'
          % (os.cpu_count(), cpu_model(), load_before, load(), rounds, budget))
    print()
    table.print()
    print()
    print(memory)


def cpu_model():
    try:
        with open('/proc/cpuinfo') as f:
            for line in f:
                if line.startswith('model name'):
                    return line.split(':', 1)[1].strip()
    except OSError:
        pass
    return 'unknown CPU'


if __name__ == '__main__':
    main()
