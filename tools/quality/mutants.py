#!/usr/bin/env python3
"""Mutation sampler: how many small faults in qxxml/ does the test suite notice?

Usage (from the repository root):
    tools/quality/mutants.py [-n 300] [--seed 21] [--work /tmp/qxxml-mutants]
                             [--results FILE] [--same-as FILE] [--assume-survived FILE]
                             [--report-only] [--list]

The sources are copied (git's checked-in tree plus uncommitted changes) to WORK/src and built
once in WORK/build (plain -O1, no sanitizers, shared library, ccache). Each mutant changes one
place in one qxxml/*/*.cpp: a flipped comparison, a dropped statement, a changed constant, a
negated condition, && swapped with ||, true swapped with false. Only libqxxml is rebuilt and
relinked; then every gtest program runs with GTEST_FAIL_FAST=1, the mutated subsystem's program
first. A failing program or a timeout kills the mutant; a mutant that does not compile is
recorded and replaced by the next place of the same subsystem, so the sample keeps N mutants.

The places are drawn from the seed alone, so two runs with the same seed over the same library
sources test the same mutants, whatever the tests are. Results go to a JSON-lines file (one line
per mutant) and a rerun with the same file resumes where it stopped; a run may be stopped at
any time, and --report-only prints the rates of what it got through (the sample is taken round
robin over the subsystems, so any prefix of it is spread over all of them). --same-as tests
exactly the mutants of an earlier run's results (after the tests changed, say; a mutant whose
file changed since is found again by its file, kind and text at the nearest line, and one whose
text is gone is listed and left out), and
--assume-survived takes that run's survivors as survivors without running them: when tests were
only removed or moved into tables they cannot kill them, so the rate is a lower bound at a
fraction of the cost. samples/ keeps the results of samples that later runs compare with
(seed21-28.jsonl: the first 28 mutants of seed 21; seed21-100.jsonl: 100 mutants of seed 21,
both tested on the suite of early December 2026, before the cuts). The
kill rate is printed per subsystem and overall. The install check (a
whole CMake consumer build) is not run per mutant.
"""
import argparse
import hashlib
import json
import os
import random
import re
import shutil
import subprocess
import sys
import time

ROOT = os.path.abspath(os.path.join(os.path.dirname(__file__), '..', '..'))
SUBSYSTEMS = ['support', 'values', 'platform', 'xmlout', 'xmlin', 'core', 'metadata',
              'collections', 'fastinfoset']


# ---------------------------------------------------------------- finding places to mutate

def code_mask(text):
    """A copy of text with comments, string and character literals blanked out (same length)."""
    out = list(text)
    i, n = 0, len(text)
    while i < n:
        c = text[i]
        if text.startswith('//', i):
            j = text.find('\n', i)
            j = n if j < 0 else j
        elif text.startswith('/*', i):
            j = text.find('*/', i + 2)
            j = n if j < 0 else j + 2
        elif text.startswith('R"', i) and (i == 0 or not (text[i - 1].isalnum() or text[i - 1] == '_')):
            m = re.match(r'R"([^(\s]*)\(', text[i:])
            if not m:
                i += 1
                continue
            end = text.find(')' + m.group(1) + '"', i)
            j = n if end < 0 else end + len(m.group(1)) + 2
        elif c in '"\'':
            if c == "'" and i > 0 and text[i - 1].isalnum():  # digit separator 1'000
                i += 1
                continue
            j = i + 1
            while j < n and text[j] != c and text[j] != '\n':
                j += 2 if text[j] == '\\' else 1
            j += 1
        else:
            i += 1
            continue
        for k in range(i, min(j, n)):
            if out[k] != '\n':
                out[k] = ' '
        i = j
    return ''.join(out)


OPERATOR_SWAPS = [
    (' == ', ' != ', 'comparison'), (' != ', ' == ', 'comparison'),
    (' < ', ' <= ', 'comparison'), (' <= ', ' < ', 'comparison'),
    (' > ', ' >= ', 'comparison'), (' >= ', ' > ', 'comparison'),
    (' && ', ' || ', 'logic'), (' || ', ' && ', 'logic'),
    ('true', 'false', 'constant'), ('false', 'true', 'constant'),
]
STATEMENT_START = re.compile(r'^\s*(return|break|continue|case|default|else|do|if|for|while|switch|'
                             r'try|catch|throw|public|private|protected|template|typename|using|'
                             r'namespace|static_assert|#|\}|\{)')
# "Type name = ...;" declares: dropping it would not compile, so it is not offered.
DECLARATION = re.compile(r'^\s*(const\s+|static\s+|constexpr\s+)*[\w:]+(<[^;]*>)?[\s*&]+\w+\s*[=({;\[]')


def matching_paren(code, open_at):
    depth = 0
    for k in range(open_at, len(code)):
        if code[k] == '(':
            depth += 1
        elif code[k] == ')':
            depth -= 1
            if depth == 0:
                return k
    return -1


def places_in(path):
    """Every mutation of one source file: (offset, old text, new text, kind)."""
    with open(path, encoding='utf-8') as f:
        text = f.read()
    code = code_mask(text)
    found = []
    for old, new, kind in OPERATOR_SWAPS:
        pattern = r'\b' + old + r'\b' if old.isalpha() else re.escape(old)
        for m in re.finditer(pattern, code):
            found.append((m.start(), old, new, kind))
    for m in re.finditer(r'(?<![\w.\'])(\d+)(?![\w.\'])', code):
        line_start = code.rfind('\n', 0, m.start()) + 1
        if code[line_start:m.start()].lstrip().startswith('#'):
            continue
        value = int(m.group(1))
        found.append((m.start(), m.group(1), str(value + 1 if value != 1 else 0), 'constant'))
    for m in re.finditer(r'\b(if|while) \(', code):
        open_at = m.end() - 1
        close = matching_paren(code, open_at)
        if close > 0:
            inner = text[open_at + 1:close]
            found.append((open_at + 1, inner, '!(' + inner + ')', 'negation'))
    offset = 0
    previous = ''
    for line in code.split('\n'):
        stripped = line.strip()
        if (stripped.endswith(';') and previous.endswith((';', '{', '}', ':'))
                and not STATEMENT_START.match(line) and not DECLARATION.match(line) and ('(' in stripped or '=' in stripped)):
            start = offset + len(line) - len(line.lstrip())
            original = text[start:offset + len(line)]
            found.append((start, original, ';', 'statement'))
        if stripped:
            previous = stripped
        offset += len(line) + 1
    return found


def match_places(earlier, places):
    """The place of each earlier mutant in today's sources, by id while its file is unchanged;
    else the same change (file, kind, old and new text) at the line nearest to where it was.
    Mutants whose text is gone are reported and left out."""
    by_id = {p['id']: p for p in places}
    matched, lost = {}, []
    for r in earlier:
        if r['id'] in by_id:
            matched[r['id']] = by_id[r['id']]
            continue
        same = [p for p in places if (p['file'], p['kind'], p['old'], p['new']) ==
                (r['file'], r['kind'], r['old'], r['new']) and p not in matched.values()]
        if same:
            matched[r['id']] = min(same, key=lambda p: abs(p['line'] - r['line']))
        else:
            lost.append(r)
    moved = sum(1 for key, p in matched.items() if key != p['id'])
    print(f'sample: {len(matched) - moved} mutants in place, {moved} moved with their lines, '
          f'{len(lost)} whose text is gone:', flush=True)
    for r in lost:
        print(f"  {r['file']}:{r['line']} {r['kind']}: {r['old']!r} -> {r['new']!r} ({r['status']} before)")
    return matched


def all_places(src):
    """Places per subsystem, each list shuffled later; sorted so that the order is stable."""
    per_subsystem = {}
    for sub in SUBSYSTEMS:
        folder = os.path.join(src, 'qxxml', sub)
        files = []
        for dirpath, dirnames, filenames in os.walk(folder):
            dirnames[:] = [d for d in dirnames if d not in ('win32', 'detail_win32')]
            files += [os.path.join(dirpath, f) for f in filenames if f.endswith('.cpp')]
        places = []
        for path in sorted(files):
            rel = os.path.relpath(path, src)
            with open(path, encoding='utf-8') as f:
                text = f.read()
            for offset, old, new, kind in sorted(places_in(path)):
                line = text.count('\n', 0, offset) + 1
                key = hashlib.sha1(f'{rel}:{offset}:{old}:{new}'.encode()).hexdigest()[:12]
                places.append({'id': key, 'subsystem': sub, 'file': rel, 'offset': offset,
                               'line': line, 'kind': kind, 'old': old, 'new': new})
        per_subsystem[sub] = places
    return per_subsystem


def quotas(per_subsystem, n):
    """N spread over the subsystems in proportion to their places, at least 10 each."""
    total = sum(len(p) for p in per_subsystem.values())
    share = {s: max(10, round(n * len(p) / total)) for s, p in per_subsystem.items()}
    while sum(share.values()) > n:
        biggest = max(share, key=share.get)
        share[biggest] -= 1
    while sum(share.values()) < n:
        share[max(per_subsystem, key=lambda s: len(per_subsystem[s]) / share[s])] += 1
    return share


# ---------------------------------------------------------------- building and running

def run(cmd, cwd=None, env=None, timeout=None):
    return subprocess.run(cmd, cwd=cwd, env=env, timeout=timeout,
                          stdout=subprocess.PIPE, stderr=subprocess.STDOUT, text=True)


def prepare(work):
    src, build = os.path.join(work, 'src'), os.path.join(work, 'build')
    if not (os.path.isdir(src) and os.path.samefile(src, ROOT)):
        sync_tree(src)
    if not os.path.exists(os.path.join(build, 'CMakeCache.txt')):
        check(run(['cmake', '-S', src, '-B', build, '-DCMAKE_BUILD_TYPE=None',
                   '-DCMAKE_CXX_FLAGS=-O1', '-DQXXML_BUILD_BENCH=OFF',
                   '-DCMAKE_LINK_DEPENDS_NO_SHARED=ON']), 'configure')
    check(run(['cmake', '--build', build, '-j2']), 'build')
    return src, build


def sync_tree(src):
    """Makes src the tree as it stands, uncommitted changes included, minus build directories."""
    files = set(filter(None, run(['git', 'ls-files', '-co', '--exclude-standard'],
                                 cwd=ROOT).stdout.split('\n')))
    for dirpath, _, filenames in os.walk(src):
        for f in filenames:
            rel = os.path.relpath(os.path.join(dirpath, f), src)
            if rel not in files:
                os.remove(os.path.join(src, rel))
    for rel in files:
        source, target = os.path.join(ROOT, rel), os.path.join(src, rel)
        if not os.path.isfile(source):
            continue
        os.makedirs(os.path.dirname(target), exist_ok=True)
        if not os.path.exists(target) or open(source, 'rb').read() != open(target, 'rb').read():
            shutil.copyfile(source, target)  # a new time stamp, so that make rebuilds it


def check(result, what):
    if result.returncode != 0:
        sys.exit(f'{what} failed:\n{result.stdout[-4000:]}')


def test_programs(build):
    programs = {}
    for dirpath, _, filenames in os.walk(build):
        for f in filenames:
            path = os.path.join(dirpath, f)
            if f.startswith('qxxml_test_') and os.access(path, os.X_OK) and '.' not in f:
                programs[f[len('qxxml_test_'):]] = path
    return programs


def run_program(path, timeout):
    env = dict(os.environ, GTEST_FAIL_FAST='1', GTEST_BRIEF='1',
               QXXML_TEST_TMP=os.path.join(os.path.dirname(path), 'tmp'),
               ASAN_OPTIONS='detect_leaks=0')
    try:
        return run([path], cwd=os.path.dirname(path), env=env, timeout=timeout).returncode
    except subprocess.TimeoutExpired:
        return 'timeout'


def baseline(programs):
    """Runs the unmutated suite: every program must pass; their times give the timeouts."""
    times = {}
    for name, path in programs.items():
        start = time.time()
        code = run_program(path, 1800)
        if code != 0:
            sys.exit(f'the unmutated {name} tests fail ({code}): fix them first')
        times[name] = time.time() - start
    return times


def try_mutant(place, src, build, programs, times):
    path = os.path.join(src, place['file'])
    with open(path, encoding='utf-8') as f:
        original = f.read()
    start, old = place['offset'], place['old']
    assert original[start:start + len(old)] == old, place
    try:
        with open(path, 'w', encoding='utf-8') as f:
            f.write(original[:start] + place['new'] + original[start + len(old):])
        if run(['cmake', '--build', build, '--target', 'qxxml']).returncode != 0:
            return 'compile_error', None
        order = sorted(programs, key=lambda p: (p != place['subsystem'], times[p]))
        for name in order:
            code = run_program(programs[name], timeout=3 * times[name] + 20)
            if code == 'timeout':
                return 'timeout', name
            if code != 0:
                return 'killed', name
        return 'survived', None
    finally:
        with open(path, 'w', encoding='utf-8') as f:
            f.write(original)
        os.utime(path)


def round_robin(per_subsystem, share, results):
    """The sample's places, one subsystem after the other, so that a run stopped early is still
    spread out. A place whose mutant did not compile (its result is known when the caller asks
    for the next place) does not count against its subsystem's share."""
    cursors = {sub: 0 for sub in SUBSYSTEMS}
    wanted = dict(share)
    while any(wanted.values()):
        for sub in SUBSYSTEMS:
            if not wanted[sub]:
                continue
            if cursors[sub] >= len(per_subsystem[sub]):
                wanted[sub] = 0
                continue
            place = per_subsystem[sub][cursors[sub]]
            cursors[sub] += 1
            yield place
            if results[place['id']]['status'] != 'compile_error':
                wanted[sub] -= 1


# ---------------------------------------------------------------- the report

def report(results, chosen):
    print(f'{"subsystem":<12} {"mutants":>7} {"killed":>7} {"rate":>7}')
    total = killed = 0
    for sub in SUBSYSTEMS:
        rows = [results[p['id']] for p in chosen if p['subsystem'] == sub and p['id'] in results]
        dead = sum(r['status'] in ('killed', 'timeout') for r in rows)
        total, killed = total + len(rows), killed + dead
        if rows:
            print(f'{sub:<12} {len(rows):>7} {dead:>7} {100.0 * dead / len(rows):>6.1f}%')
    if total:
        print(f'{"overall":<12} {total:>7} {killed:>7} {100.0 * killed / total:>6.1f}%')


def main():
    parser = argparse.ArgumentParser(description=__doc__.split('\n')[0])
    parser.add_argument('-n', type=int, default=300)
    parser.add_argument('--seed', type=int, default=21)
    parser.add_argument('--work', default='/tmp/qxxml-mutants')
    parser.add_argument('--results', help='JSON lines, appended (default WORK/results.jsonl)')
    parser.add_argument('--assume-survived', help='results of an earlier run whose survivors are not rerun')
    parser.add_argument('--same-as', help='results of an earlier run: test exactly its mutants, in its order')
    parser.add_argument('--report-only', action='store_true', help='print the kill rates of the results so far')
    parser.add_argument('--list', action='store_true', help='print the sample, run nothing')
    args = parser.parse_args()
    results_path = args.results or os.path.join(args.work, 'results.jsonl')

    os.makedirs(args.work, exist_ok=True)
    src = os.path.join(args.work, 'src')
    if not (args.list or args.report_only):
        src, build = prepare(args.work)
    # The places come from this tree's library sources, which the copy mirrors: never from the
    # copy itself, which a running sample may be mutating.
    per_subsystem = all_places(ROOT)
    share = quotas(per_subsystem, args.n)
    rng = random.Random(args.seed)
    for sub in SUBSYSTEMS:
        rng.shuffle(per_subsystem[sub])
    if args.list:
        for sub in SUBSYSTEMS:
            for p in per_subsystem[sub][:share[sub]]:
                print(f"{p['id']} {p['file']}:{p['line']} {p['kind']}: {p['old']!r} -> {p['new']!r}")
        return

    results = {}
    if os.path.exists(results_path):
        with open(results_path) as f:
            results = {r['id']: r for r in map(json.loads, f)}
    survivors = set()
    if args.assume_survived:
        with open(args.assume_survived) as f:
            survivors = {r['id'] for r in map(json.loads, f) if r['status'] == 'survived'}

    if args.same_as:
        with open(args.same_as) as f:
            earlier = [r for r in map(json.loads, f) if r['status'] != 'compile_error']
        matched = match_places(earlier, [p for sub in SUBSYSTEMS for p in per_subsystem[sub]])
        survivors |= {matched[r['id']]['id'] for r in earlier if r['id'] in survivors and r['id'] in matched}
        order = iter([matched[r['id']] for r in earlier if r['id'] in matched])
    else:
        order = round_robin(per_subsystem, share, results)

    chosen = []
    if args.report_only:
        for place in order:
            if place['id'] not in results:
                break
            if results[place['id']]['status'] != 'compile_error':
                chosen.append(place)
        report(results, chosen)
        return

    programs = test_programs(build)
    times = baseline(programs)
    print('test programs (s):', {k: round(v, 1) for k, v in sorted(times.items())}, flush=True)
    with open(results_path, 'a') as out:
        for place in order:
            if place['id'] not in results:
                started = time.time()
                if place['id'] in survivors:
                    status, killer = 'survived', 'assumed'
                else:
                    status, killer = try_mutant(place, src, build, programs, times)
                results[place['id']] = dict(place, status=status, killer=killer,
                                            seconds=round(time.time() - started, 1))
                out.write(json.dumps(results[place['id']]) + '\n')
                out.flush()
                print(f"{len(chosen) + 1:>4} {place['file']}:{place['line']} {place['kind']} "
                      f"-> {status} {killer or ''}", flush=True)
            if results[place['id']]['status'] != 'compile_error':
                chosen.append(place)
    # Leave the library as the sources say.
    run(['cmake', '--build', build, '--target', 'qxxml'])
    report(results, chosen)


if __name__ == '__main__':
    main()
