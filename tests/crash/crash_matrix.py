#!/usr/bin/python3
"""Ends focaris-tool at every change it makes to a file and checks what the next start finds.

For each operation of a group: the operation runs once on a fresh copy of a small data
folder to count its changes (FOCARIS_CRASH_COUNT) and to give the state after it; then, for
every N from 1 to that count (a sample fixed by --seed when the count is large), it runs
again on a fresh copy and the process is ended at the N-th change (FOCARIS_CRASH_AT). After
each crash the start-up runs on the folder (focaris-tool store init, the data-folder half
of the program's start), and then:
  - every table opens with an independent reader (dbfread) and with the engine;
  - the data is exactly the state before or after the operation, or one of the step states
    the operation lists;
  - no scratch file is left in the installation, the save folder or the temporary folder;
  - the operation run again ends in the state of an uncrashed run.
Usage: crash_matrix.py TOOL GROUP [--seed S] [--work DIR]
Prints one line per operation: name, changes counted, crash points run, states found,
leftovers.
"""
import argparse
import glob
import hashlib
import json
import os
import random
import re
import shutil
import subprocess
import sys
import tempfile

import dbfread

HERE = os.path.dirname(os.path.abspath(__file__))
REGISTER_WRITER = os.path.join(HERE, '..', 'periods', 'register_archive.py')
MAX_POINTS = 30   # crash points run per operation; above that, a seeded sample
CRASH_STATUS = 86

# Columns whose values change from one run to the next whatever the data (the time of a
# log row, the computer and user that wrote it).
VOLATILE = {'LOG.DBF': None}


def cnp(first12):
    weights = '279146358279'
    s = sum(int(a) * int(b) for a, b in zip(first12, weights)) % 11
    return first12 + ('1' if s == 10 else str(s))


class Tool:
    def __init__(self, path):
        self.path = path

    def run(self, args, env=None, check=True):
        e = dict(os.environ)
        e.update(env or {})
        p = subprocess.run([self.path] + args, env=e, stdout=subprocess.PIPE, stderr=subprocess.PIPE,
                           text=True, errors='replace')
        if check and p.returncode != 0:
            raise RuntimeError('focaris-tool %s: status %d\n%s%s' % (' '.join(args), p.returncode, p.stdout, p.stderr))
        return p


def tables_of(folder):
    return sorted(f for f in os.listdir(folder) if f.upper().endswith('.DBF'))


def read_table(path):
    """The live rows of a table as sorted tuples of text, read by dbfread."""
    t = dbfread.DBF(path, encoding='cp1250', char_decode_errors='strict', ignore_missing_memofile=True)
    rows = []
    for r in t:
        rows.append(tuple('%s=%s' % (k, '' if v is None else v) for k, v in r.items()))
    # dbfread stops at the header's count: a count beyond the file is a torn table.
    size = os.path.getsize(path)
    if t.header.headerlen + t.header.numrecords * t.header.recordlen > size:
        raise ValueError('%s: the header counts more records than the file holds' % path)
    return rows


def snapshot(data):
    """What the data folder holds, in a form that two equal states share."""
    state = {}
    for name in tables_of(data):
        rows = read_table(os.path.join(data, name))
        if name.upper() == 'LOG.DBF':
            # The log's rows: only what was logged, not when or by whom.
            rows = [tuple(c for c in r if c.split('=', 1)[0] in ('IDLOG', 'OPERATIA', 'DESCRIERE', 'ACTIUNE'))
                    for r in rows]
        state[name.upper()] = sorted(rows)
    for name in sorted(os.listdir(data)):
        path = os.path.join(data, name)
        if name.upper().endswith('.DBF') or not os.path.isfile(path):
            continue
        if name.upper() in ('LUNI.LST',):
            state[name.upper()] = open(path, 'rb').read()
        elif name.upper() == 'FOCARIS.SET':
            text = open(path, 'rb').read().decode('cp1250')
            # The key counters are left out: a key is taken before the rows that use it are
            # written and never given back, so a counter ahead of the rows is harmless.
            keep = [l for l in text.splitlines() if l.split('=', 1)[0] in ('LUNA_LUCRU',)]
            state[name.upper()] = keep
        elif INQUIRY.match(name):
            state['file:' + name] = file_state(path)
        else:
            state['file:' + name] = os.path.getsize(path) > 0
    return state


INQUIRY = re.compile(r'^A\d{13}\.rtf$', re.I)


def file_state(path, root=None):
    """A file as two equal outputs share it: a table by its rows, anything else by its bytes
    (with the test folder's own path, which some files name, taken out)."""
    if path.upper().endswith('.DBF'):
        return read_table(path)
    data = open(path, 'rb').read()
    if root:
        data = data.replace(root.encode(), b'@')
    return hashlib.sha256(data).hexdigest()


def outputs(folder, root):
    """The files a report or an export wrote outside the data folder, by their place under
    `folder`. Scratch names are left out here: the leftover check reports them."""
    state = {}
    if not os.path.isdir(folder):
        return state
    for base, dirs, files in os.walk(folder):
        dirs[:] = [d for d in dirs if not SCRATCH.match(d)]
        for n in files:
            if not SCRATCH.match(n):
                path = os.path.join(base, n)
                state['out:' + os.path.relpath(path, folder)] = file_state(path, root)
    return state


def engine_reads(tool, data):
    for name in tables_of(data):
        tool.run(['dbf', 'dump', os.path.join(data, name)])


def without_log(state):
    return {k: v for k, v in state.items() if k != 'LOG.DBF'}


def without_keys(state):
    """The state with the key columns and counters left out: the same rows under other keys."""
    out = {}
    for k, v in without_log(state).items():
        if k.endswith('.DBF'):
            v = sorted(tuple(c for c in r if c.split('=', 1)[0] not in ('NRCRT', 'NROM')) for r in v)
        elif k == 'FOCARIS.SET':
            v = [l for l in v if l.split('=', 1)[0] not in ('NRCRT', 'NROM')]
        out[k] = v
    return out


SCRATCH = re.compile(r'^(\..*|.*\.part|.*\.tmp|DataBAK\..*|TMP\d+|SaveRA\d+|VMG\d+|ASF\d+|Restaurare\d+)$')


def leftovers(root, tmpdir):
    found = []
    for base, dirs, files in os.walk(root):
        for n in dirs + files:
            if SCRATCH.match(n):
                found.append(os.path.relpath(os.path.join(base, n), root))
    found += ['TMPDIR/' + n for n in os.listdir(tmpdir)]
    return found


def field(rows, name):
    for r in rows:
        for c in r:
            k, v = c.split('=', 1)
            if k == name:
                yield v


def members_whole(state):
    """No member without its application, no application of the month without members."""
    apps = set(field(state.get('CERERI.DBF', []), 'NRCRT'))
    owners = set(field(state.get('OAMENI.DBF', []), 'NRCRT'))
    return owners <= apps and apps <= owners


class Matrix:
    def __init__(self, tool, work, seed):
        self.tool = tool
        self.work = work
        self.seed = seed
        self.failures = []
        self.lines = []
        self.base = os.path.join(work, 'base')
        self.make_base()

    # The small folder: two months of four applications with three members each, the
    # second month the working one; a save of it; the automatic-save folder set.
    def make_base(self):
        inst = os.path.join(self.base, 'inst')
        data = os.path.join(inst, 'Data')
        os.makedirs(data)
        os.makedirs(os.path.join(self.base, 'saves'))
        os.makedirs(os.path.join(self.base, 'machine'))
        os.makedirs(os.path.join(self.base, 'tmp'))
        os.makedirs(os.path.join(self.base, 'out'))
        env = self.env(self.base)
        self.tool.run(['store', 'city', data, '--months', '2', '--per-month', '4'], env)
        self.tool.run(['store', 'init', data], env)
        self.tool.run(['months', 'add', data, '10.2023'], env)
        self.tool.run(['months', 'add', data, '11.2023'], env)
        # The municipality's settings that the reports and exports ask for.
        for key, value in (('PRIMARIA', 'ORAS'), ('JUDET', 'HUNEDOARA'), ('SIRUES', '4323304')):
            self.tool.run(['setting', 'set', os.path.join(data, 'Focaris.set'), 'SETARI', key, value], env)
        self.tool.run(['backup', 'save', data, os.path.join(self.base, 'saves', 'copie.T21'), '--yes'], env)
        self.tool.run(['setting', 'set', os.path.join(self.base, 'machine', 'Focaris.ini'), '94',
                       'CALESALVARI', os.path.join(self.base, 'saves', 'auto')], env, check=False)
        # A readable archive without the program's tables.
        other = os.path.join(self.base, 'other')
        os.makedirs(other)
        open(os.path.join(other, 'note.txt'), 'w').write('nu sunt date\n')
        self.tool.run(['archive', 'pack', other, os.path.join(self.base, 'saves', 'alte.T21')], env, check=False)
        shutil.rmtree(other)

    def env(self, root, extra=None):
        e = {'FOCARIS_MACHINE_DIR': os.path.join(root, 'machine'), 'TMPDIR': os.path.join(root, 'tmp'),
             'FOCARIS_HOME': os.path.join(root, 'inst')}
        e.update(extra or {})
        return e

    def fresh(self, name):
        root = os.path.join(self.work, name)
        if os.path.exists(root):
            shutil.rmtree(root)
        shutil.copytree(self.base, root, symlinks=True)
        return root

    def args(self, op, root):
        return [a.replace('@/', root + '/') for a in op['args']]

    def prepare(self, op, name):
        """A fresh copy of the folder after a start, with the operation's earlier steps."""
        root = self.fresh(name)
        self.start(root)
        for step in op.get('before', []):
            self.tool.run([a.replace('@/', root + '/') for a in step], self.env(root))
        if op.get('before'):
            self.start(root)
        return root

    def run_op(self, op, root, extra=None, check=True):
        return self.tool.run(self.args(op, root), self.env(root, extra), check=check)

    def start(self, root):
        self.tool.run(['store', 'init', os.path.join(root, 'inst', 'Data')], self.env(root))

    def state(self, root):
        state = snapshot(os.path.join(root, 'inst', 'Data'))
        state.update(outputs(os.path.join(root, 'out'), root))
        return state

    def check_op(self, op):
        name = op['name']
        # The state before, the uncrashed run, its count of changes.
        root = self.prepare(op, 'count')
        old = self.state(root)
        count_file = os.path.join(root, 'count.txt')
        self.run_op(op, root, {'FOCARIS_CRASH_COUNT': count_file, 'FOCARIS_CRASH_ROOT': root})
        count = int(open(count_file).read()) if os.path.exists(count_file) else 0
        self.start(root)
        new = self.state(root)
        if op.get('changes', True) and new == old:
            self.fail(name, 0, 'the operation changed nothing')
        points = list(range(1, count + 1))
        rng = random.Random('%s/%d' % (name, self.seed))
        if len(points) > MAX_POINTS:
            points = sorted(rng.sample(points, MAX_POINTS))
        found = {'old': 0, 'new': 0}
        left = 0
        for n in points:
            root = self.prepare(op, 'crash')
            p = self.run_op(op, root, {'FOCARIS_CRASH_AT': str(n), 'FOCARIS_CRASH_ROOT': root}, check=False)
            if p.returncode != CRASH_STATUS:
                self.fail(name, n, 'did not end at change %d (status %d)\n%s' % (n, p.returncode, p.stderr))
                continue
            try:
                self.start(root)
                data = os.path.join(root, 'inst', 'Data')
                engine_reads(self.tool, data)
                now = self.state(root)
            except Exception as e:   # noqa: BLE001 - every way of being unreadable is a finding
                self.fail(name, n, 'unreadable after the start: %s' % e)
                continue
            if now == old:
                kind = 'old'
            elif now == new:
                kind = 'new'
            elif without_log(now) == without_log(new) and now.get('LOG.DBF') == old.get('LOG.DBF'):
                kind = 'new without its log row'
            else:
                kind = None
                for step, ok in op.get('steps', {}).items():
                    if ok(now, old, new):
                        kind = step
                        break
                if kind is None:
                    self.fail(name, n, 'neither old nor new: ' + describe(old, new, now))
                    continue
            found[kind] = found.get(kind, 0) + 1
            for pattern in op.get('archives', []):
                for path in glob.glob(pattern.replace('@/', root + '/')):
                    if self.tool.run(['archive', 'list', path], check=False).returncode != 0:
                        self.fail(name, n, 'a damaged archive where the save goes: ' + path)
            junk = leftovers(root, os.path.join(root, 'tmp'))
            if junk:
                left += 1
                self.fail(name, n, 'left behind after the start: %s' % ', '.join(junk))
            # Run again: the uncrashed result.
            if not kind.startswith('new') or op.get('rerun_when_new', False):
                p = self.run_op(op, root, check=False)
                if p.returncode != 0 and not (kind == 'new' and op.get('rerun_when_new') == 'may refuse'):
                    self.fail(name, n, 'the run after the crash failed (%s): %s%s' % (kind, p.stdout, p.stderr))
                    continue
                self.start(root)
                again = self.state(root)
                # Keys taken before the crash are never given again, so a rerun after one may
                # store the same rows under later keys.
                if op.get('rerun_may_renumber') or not kind.startswith('new'):
                    differs = without_keys(again) != without_keys(new)
                elif kind.startswith('new'):
                    differs = without_log(again) != without_log(new)
                else:
                    differs = again != new
                if differs:
                    self.fail(name, n, 'the run after the crash (%s) differs from an uncrashed run: %s'
                              % (kind, describe(old, new, again)))
        states = ' / '.join('%s %d' % (k, v) for k, v in found.items() if v or k in ('old', 'new'))
        self.lines.append('%-34s changes %4d  points %3d  %s  leftovers %d'
                          % (name, count, len(points), states, left))

    def fail(self, name, n, why):
        self.failures.append('%s, crash at %d: %s (seed %d)' % (name, n, why, self.seed))


def describe(old, new, now):
    parts = []
    for key in sorted(set(old) | set(new) | set(now)):
        a, b, c = old.get(key), new.get(key), now.get(key)
        if c != a and c != b:
            if key.endswith('.DBF') and isinstance(c, list) and isinstance(a, list) and isinstance(b, list):
                parts.append('%s: %d rows (old %d, new %d)' % (key, len(c), len(a), len(b)))
            elif isinstance(c, list) and len(c) < 8:
                parts.append('%s: %s (old %s, new %s)' % (key, c, a, b))
            else:
                parts.append('%s differs' % key)
    if not parts:
        parts = ['%s %s' % (k, 'old' if now.get(k) == old.get(k) else 'new') for k in sorted(set(old) | set(new))
                 if old.get(k) != new.get(k)]
        return 'a mix: ' + ', '.join(parts)
    return '; '.join(parts)


# ---------------------------------------------------------------------------------------
# The operations, by group (one ctest entry per group, so that ctest -j2 spreads them).

def application_json(work):
    path = os.path.join(work, 'cerere.json')
    app = {'CNPSol': cnp('185010112345'), 'SubSemn': 'POPESCU ION', 'Nr_Cere': '21', 'DataCereD': '03.11.2024',
           'AnulDec': '2024', 'Localit': 'ORAS', 'Furnizor': 'TERMO SA', 'Tarif': 300, 'NrCam': '2',
           'StCiv': 'Casatorit /a', 'Actualizare': True, 'SupL': True,
           'members': [{'Titular': 'POPESCU ION', 'CNP': cnp('185010112345'), 'Venit': '500'},
                       {'Titular': 'POPESCU ANA', 'CNP': cnp('285020312345'), 'Venit': 300, 'Calitate': 'partener'}]}
    json.dump(app, open(path, 'w'))
    changed = dict(app, SubSemn='POPESCU IOAN', NrCam='3')
    del changed['members']
    json.dump(changed, open(os.path.join(work, 'schimbat.json'), 'w'))
    return path


def vmg_archive(work):
    rows = [[i, 100 + i, '2024-01-0%d' % i, 'VMG PERS %d' % i, cnp('1850101%05d' % (20000 + i)), 'STR', '1', '', '',
             '', '', 'DEVA', 2, 10.0, 0.0, 0.0, '', '', '', 'APROBATA'] for i in (1, 2, 3)]
    members = []
    for i in (1, 2, 3):
        members.append([i, 1, 'VMG PERS %d' % i, cnp('1850101%05d' % (20000 + i)), 1.0, 0.0, 0.0, 1, ''])
        members.append([i, 2, 'VMG COPIL %d' % i, cnp('5150101%05d' % (30000 + i)), 0.0, 0.0, 0.0, 3, ''])
    files = 'IDCERERE N(10,0); CERENR N(10,0); CEREDATA D; NUME C(40); CNP C(13); STR C(40); STRNR C(10); ' \
            'BLOC C(10); SCARA C(5); ETAJ C(5); APART C(5); LOCALIT C(40); NRMEMBRI N(3,0); venitp N(10,2); ' \
            'venitv N(10,2); venita N(10,2); STCIV C(2); SITSCOL C(2); ASF C(1); STARE C(12)'
    mem = 'IDCERERE N(10,0); IDOM N(3,0); NUME C(40); CNPDATA C(13); CUANTUMV N(10,2); CUANTUMP N(10,2); ' \
          'CUANTUMA N(10,2); RUDACOD N(2,0); PRESTEAZA C(2)'
    spec = {'tables': [{'name': 'Cereri.dbf', 'fields': files, 'rows': rows},
                       {'name': 'Anchete.dbf', 'fields': 'IDCERERE N(10,0); NRCAMERE N(3,0); POL N(1,0)',
                        'rows': [[i, 2, 0] for i in (1, 2, 3)]},
                       {'name': 'Oameni.dbf', 'fields': mem, 'rows': members}]}
    spec_file = os.path.join(work, 'vmg.json')
    json.dump(spec, open(spec_file, 'w'))
    out = os.path.join(work, 'vmg.416')
    subprocess.run(['/usr/bin/python3', REGISTER_WRITER, spec_file, out], check=True)
    return out


def whole_and_between(now, old, new):
    """Each application with all its members, and no more rows than the new state."""
    return members_whole(now) and len(now.get('CERERI.DBF', [])) <= max(len(old['CERERI.DBF']), len(new['CERERI.DBF']))


def totals_only(now, old, new):
    """The first of the two statements done: TOTAL as after, NR_LUNI as before."""
    def cols(state, names):
        return sorted(tuple(c for c in r if c.split('=', 1)[0] in names) for r in state['CERERI.DBF'])
    keep = ('NRCRT', 'TOTAL')
    rest = lambda st: sorted(tuple(c for c in r if c.split('=', 1)[0] not in ('TOTAL', 'NR_LUNI'))
                             for r in st['CERERI.DBF'])
    return (cols(now, keep) == cols(new, keep) and cols(now, ('NRCRT', 'NR_LUNI')) == cols(old, ('NRCRT', 'NR_LUNI'))
            and rest(now) == rest(old) and without_log(dict(now, **{'CERERI.DBF': None})) ==
            without_log(dict(old, **{'CERERI.DBF': None})))


def rows_deleted_month_listed(now, old, new):
    """The month's rows removed, the month still in the list (the deletion is asked again)."""
    return (now['CERERI.DBF'] == new['CERERI.DBF'] and now['OAMENI.DBF'] == new['OAMENI.DBF']
            and now.get('LUNI.LST') == old.get('LUNI.LST'))


def earlier_import_removed(now, old, new):
    """The earlier import removed with its members, the new one not yet added."""
    kept = [r for r in old['CERERI.DBF'] if 'LUNACRT=1' not in r]
    return now['CERERI.DBF'] == kept and members_whole(now)


class BackupServer:
    """focaris-backup-server on a free loopback port, its storage and log in `work`, with one
    confirmed account that holds the base folder's save (copy 1)."""
    EMAIL = 'primaria@example.ro'
    PASSWORD = 'parola123'

    def __init__(self, program, tool, work, archive):
        os.makedirs(os.path.join(work, 'server'))
        self.log = os.path.join(work, 'server.log')
        self.proc = subprocess.Popen([program, '--storage', os.path.join(work, 'server'), '--listen', '127.0.0.1:0'],
                                     stdout=subprocess.PIPE, stderr=open(self.log, 'w'), text=True)
        line = self.proc.stdout.readline()
        if not line.startswith('listening on '):
            raise RuntimeError('the backup server did not start: ' + line)
        self.address = '127.0.0.1:' + line.split()[2]
        self.tool = tool
        scratch = os.path.join(work, 'account')
        os.makedirs(scratch)
        env = {'FOCARIS_MACHINE_DIR': scratch, 'TMPDIR': scratch}
        self.tool.run(self.args('info'), env)
        # The server logs the code before it answers the login, so it is there now.
        code = re.findall(r'confirmation code (\d{6})', open(self.log).read())[-1]
        self.tool.run(self.args('confirm', code), env)
        self.tool.run(self.args('put', archive, 'copia de test'), env)
        rows = self.tool.run(self.args('list'), env).stdout.splitlines()[1:]
        self.copy = rows[-1].split(',')[0]

    def args(self, *verb):
        return ['remote', '--server', self.address, '--email', self.EMAIL, '--password', self.PASSWORD] + list(verb)

    def stop(self):
        self.proc.kill()
        self.proc.wait()


def operations(group, work, server=None):
    d = '@/inst/Data'
    if group == 'remote':
        return [
            # The button "Incarca datele in program" of the remote copy: the copy brought back
            # into the program's temporary folder, then restored as from a file.
            {'name': 'remote get (restore)', 'before': [['application', 'delete', d, '8', '--yes']],
             'args': server.args('restore', server.copy, d, '--yes'), 'rerun_when_new': True},
        ]
    if group == 'outputs':
        out = '@/out'
        month = ['--month', '10.2023']
        f2201 = ['report', 'f2201', d, '--out', out, '--yes', '--now', '01.12.2023 10:00']
        dbf = ['report', 'persons-dbf', d, '--out', out + '/persoane.dbf']
        suppliers = ['report', 'suppliers', d, '--out', out, '--yes']
        # The earlier export is of the month before, with one application fewer.
        earlier = [['application', 'delete', d, '1', '--yes']]
        return [
            {'name': 'inquiry add', 'args': ['document', 'inquiry', d, '8', 'add', '--yes'], 'rerun_when_new': True},
            {'name': 'inquiry delete', 'before': [['document', 'inquiry', d, '8', 'add', '--yes']],
             'args': ['document', 'inquiry', d, '8', 'delete', '--yes']},
            # Each export replaces the one of the month before, made by the same command.
            {'name': 'Export DBF persoane', 'before': earlier + [dbf + month], 'args': dbf, 'rerun_when_new': True},
            {'name': 'F2201 files', 'before': earlier + [f2201 + month], 'args': f2201, 'rerun_when_new': True},
            {'name': 'report folder (suppliers)', 'before': earlier + [suppliers + month], 'args': suppliers,
             'rerun_when_new': True},
        ]
    if group == 'applications':
        application_json(work)
        add = os.path.join(work, 'cerere.json')
        mod = os.path.join(work, 'schimbat.json')
        return [
            {'name': 'application add', 'args': ['application', 'add', d, '--from', add, '--yes'],
             'rerun_when_new': False},
            {'name': 'application modify', 'args': ['application', 'modify', d, '8', '--from', mod, '--yes'],
             'rerun_when_new': True},
            {'name': 'application delete', 'args': ['application', 'delete', d, '8', '--yes']},
        ]
    if group == 'copies':
        return [
            {'name': 'applications copy', 'before': [['months', 'add', d, '12.2023']],
             'args': ['applications', 'copy', d, '--from', '11.2023', '--month', '12.2023']},
            {'name': 'applications remove-also-in', 'args': ['applications', 'remove-also-in', d, '--other', '10.2023']},
        ]
    if group == 'bulk':
        return [
            {'name': 'applications number --clear-others',
             'args': ['applications', 'number', d, '--from', '1', '--to', '2', '--start', '5', '--date', '01.11.2023',
                      '--category', 'all', '--clear-others'], 'rerun_when_new': True},
            {'name': 'applications set-date', 'args': ['applications', 'set-date', d, '--from', '1', '--to', '9',
                                                       '--date', '02.11.2023'], 'rerun_when_new': True},
            {'name': 'applications set-months', 'args': ['applications', 'set-months', d, '3'],
             'rerun_when_new': True, 'steps': {'totals set, months not yet': totals_only}},
            {'name': 'applications recalc', 'args': ['applications', 'recalc', d], 'rerun_when_new': True,
             'changes': False},
        ]
    if group == 'months':
        vmg = vmg_archive(work)
        return [
            {'name': 'months add', 'args': ['months', 'add', d, '12.2023']},
            {'name': 'months delete', 'args': ['months', 'delete', d, '10.2023', '--yes'],
             'steps': {'rows deleted, month still listed': rows_deleted_month_listed}},
            {'name': 'import vmg', 'args': ['import', 'vmg', d, vmg]},
            {'name': 'import vmg replacing the previous', 'before': [['import', 'vmg', d, vmg]],
             'args': ['import', 'vmg', d, vmg], 'changes': False, 'rerun_when_new': True,
             'steps': {'earlier import removed, new not yet': earlier_import_removed},
             # A rerun after the removal takes the keys after the remaining rows, which the
             # earlier import had used: the same rows under other keys.
             'rerun_may_renumber': True},
        ]
    if group == 'safety':
        return [
            {'name': 'backup save', 'args': ['backup', 'save', d, '@/saves/copie.T21', '--yes'], 'changes': False,
             'archives': ['@/saves/*.T21'],
             'rerun_when_new': True},
            {'name': 'backup restore', 'before': [['application', 'delete', d, '8', '--yes']],
             'args': ['backup', 'restore', d, '@/saves/copie.T21', '--yes'], 'rerun_when_new': True},
            {'name': 'backup restore of other files', 'args': ['backup', 'restore', d, '@/saves/alte.T21', '--yes'],
             'changes': False, 'expect_refusal': True},
            {'name': 'backup auto', 'args': ['backup', 'auto', d, '--yes'], 'changes': False,
             'archives': ['@/saves/auto/*']},
            {'name': 'setting set', 'args': ['setting', 'set', d + '/Focaris.set', 'VARIABILE', 'LUNA_LUCRU', '10.2023']},
        ]
    raise SystemExit('unknown group ' + group)


def main():
    ap = argparse.ArgumentParser()
    ap.add_argument('tool')
    ap.add_argument('group')
    ap.add_argument('--seed', type=int, default=None)
    ap.add_argument('--work')
    ap.add_argument('--server', help='focaris-backup-server, for the remote group')
    a = ap.parse_args()
    seed = a.seed if a.seed is not None else random.randrange(1 << 30)
    # A memory file system when there is one: the runs flush every committing rename, which
    # on a disk shared with other builds costs more than the whole matrix.
    shm = '/dev/shm' if os.path.isdir('/dev/shm') and os.access('/dev/shm', os.W_OK) else None
    work = a.work or tempfile.mkdtemp(prefix='crash-matrix-', dir=shm)
    server = None
    try:
        m = Matrix(Tool(a.tool), work, seed)
        if a.group == 'remote':
            server = BackupServer(a.server, m.tool, work, os.path.join(m.base, 'saves', 'copie.T21'))
        for op in operations(a.group, work, server):
            if op.get('expect_refusal'):
                root = m.prepare(op, 'refusal')
                before = m.state(root)
                p = m.run_op(op, root, check=False)
                if p.returncode == 0 or m.state(root) != before:
                    m.fail(op['name'], 0, 'accepted: %s%s' % (p.stdout, p.stderr))
                m.lines.append('%-34s refused: %s' % (op['name'], p.stderr.strip().splitlines()[-1:] ))
                continue
            m.check_op(op)
        print('seed %d' % seed)
        for line in m.lines:
            print(line)
        for f in m.failures:
            print('FAULT ' + f)
        return 1 if m.failures else 0
    finally:
        if server:
            server.stop()
        if not a.work:
            shutil.rmtree(work, ignore_errors=True)


if __name__ == '__main__':
    sys.exit(main())
