#!/usr/bin/env python3
"""Random automation scripts played on both dialog backends, compared line by line.

Each script comes from a seed: a camera model, then actions chosen one at a time from the state
the headless host shows after the actions before (it runs alongside, on standard input), so that
a control's tab is open before it is used and rows and positions exist. The script is then played
afresh, on a fresh profile, by the headless host and by the Windows build under Wine; their exit
status, error message, every line of the trace and every dump (compared as canonical JSON) must
agree. A divergence prints the seed and the shortest script found that still diverges (lines
dropped while it does), and keeps the script and both outputs (--keep); one that does not come
again when the script is played once more is shown as it first diverged.

Usage: differential.py --host HOST --windows-host EXE [--count N] [--seed S] [--seeds FILE]
                       [--known FILE] [--jobs N] [--keep DIR] [--no-shrink]
"""

import argparse
import concurrent.futures
import json
import os
import random
import shutil
import subprocess
import sys
import tempfile
import threading
import time

HERE = os.path.dirname(os.path.abspath(__file__))
ROOT = os.path.dirname(os.path.dirname(HERE))
MODELS = ["full", "full", "full", "large", "minimal", "faulty", "faulty", "noports"]
ACTIONS_PER_SCRIPT = 40
WINDOWS_RUN = threading.Lock()
WAITS = [0, 1, 10, 99, 100, 250, 500, 999, 1000, 2000, 5000]
USABLE_KINDS = ("list box", "drop-down list", "edit", "slider", "spin", "button", "check box")
TEXTS = ["0", "1", "15", "100", "512", "1023", "1024", "4096", "-1", "-32", "2.5", "0.01",
         "abc", "", " 7", "99999999999", "1e3", "+5", "32 ", "\\"]


def model_path(model, windows):
    path = os.path.join(ROOT, "sim", "cameras", model + ".json")
    return "Z:" + path.replace("/", "\\") if windows else path


def quoted(text):
    if text == "" or text != text.strip() or "#" in text or text.startswith('"'):
        return '"' + text.replace("\\", "\\\\").replace('"', '\\"') + '"'
    return text


class Generator:
    """Chooses actions from what the headless host shows after each one."""

    def __init__(self, host, seed):
        self.rng = random.Random(seed)
        self.model = self.rng.choice(MODELS)
        self.host = host
        self.lines = []
        self.held = None
        self.ended = False

    def generate(self):
        with tempfile.TemporaryDirectory(prefix="ambrel-gen-") as work:
            args = [self.host, "--trace", "--profile", os.path.join(work, "profile.db"),
                    "--camera", model_path(self.model, False), "--script", "-"]
            proc = subprocess.Popen(args, stdin=subprocess.PIPE, stdout=subprocess.PIPE,
                                    stderr=subprocess.DEVNULL, text=True, encoding="utf-8",
                                    errors="replace")
            try:
                for _ in range(ACTIONS_PER_SCRIPT):
                    state = self.state(proc)
                    if state is None:
                        break
                    line = self.choose(state)
                    self.lines.append(line)
                    proc.stdin.write(line + "\n")
                    proc.stdin.flush()
                    if self.ended:
                        break
                if self.rng.random() < 0.5 or not self.lines or self.lines[-1] != "dump":
                    self.lines.append("dump")
            except BrokenPipeError:
                pass
            finally:
                try:
                    proc.stdin.close()
                except BrokenPipeError:
                    pass
                proc.stdout.read()
                proc.wait()
        return self.model, self.lines

    @staticmethod
    def state(proc):
        try:
            proc.stdin.write("dump\n")
            proc.stdin.flush()
        except BrokenPipeError:
            return None
        for line in proc.stdout:
            if line.startswith("{"):
                return json.loads(line)
        return None

    def usable(self, state):
        """(page, id, control) of every control a person could use now."""
        found = []
        for page, value in state["pages"].items():
            if page == "dialog" or not value or not value["shown"]:
                continue
            for cid, c in value["controls"].items():
                if c["enabled"] and c["visible"] and c["kind"] in USABLE_KINDS:
                    found.append((page, cid, c))
        return found

    def choose(self, state):
        r = self.rng.random()
        if self.held is not None:
            return self.while_held(state, r)
        if r < 0.01:
            self.ended = True
            return self.bad_line(state)
        if r < 0.10:
            return self.tab(state)
        if r < 0.70:
            controls = self.usable(state)
            if controls:
                return self.control_action(*self.rng.choice(controls))
            return self.tab(state)
        if r < 0.78:
            return "wait %d" % self.rng.choice(WAITS)
        if r < 0.88:
            return self.host_action()
        if r < 0.96:
            return self.camera_action(state)
        return "dump"

    def tab(self, state):
        items = state["tabs"]["items"]
        return "tab " + quoted(self.rng.choice(items)) if items else "dump"

    def control_action(self, page, cid, c):
        name = page + "." + cid
        kind = c["kind"]
        rng = self.rng
        if kind in ("list box", "drop-down list"):
            if not c["rows"]:
                return "focus " + name
            return "select %s %d" % (name, rng.randrange(len(c["rows"])))
        if kind == "edit":
            what = rng.random()
            text = rng.choice(TEXTS) if rng.random() < 0.6 else str(rng.randint(-50, 5000))
            if what < 0.45:
                return "type %s %s" % (name, quoted(text))
            if what < 0.6:
                return "paste %s %s" % (name, quoted(text))
            if what < 0.9:
                return "key %s %s" % (name, rng.choice(["enter", "tab", "tab", "escape"]))
            return "focus " + name
        if kind == "slider":
            low, high = c["range"]
            # A range the wrong way round has no position a person could drag to.
            pos = rng.choice([low, high, c["pos"], rng.randint(min(low, high), max(low, high))])
            return "slide %s %d" % (name, pos)
        if kind == "spin":
            return "spin %s %s" % (name, rng.choice(["up", "down"]))
        if kind == "button":
            if rng.random() < 0.3:
                self.held = name
                return "press " + name
            return "click " + name
        return "click " + name  # a check box

    def while_held(self, state, r):
        if r < 0.35:
            return "release " + self.held_name()
        if r < 0.75:
            return "wait %d" % self.rng.choice(WAITS)
        if r < 0.85:
            return self.host_action(reload=False)
        if r < 0.95:
            return self.camera_action(state)
        return "dump"

    def held_name(self):
        name, self.held = self.held, None
        return name

    def host_action(self, reload=True):
        choices = ["host lock", "host unlock", "host grab on", "host grab off"]
        if reload:
            choices += ["host reload"]
        return self.rng.choice(choices)

    def camera_action(self, state):
        properties = state["camera"]["properties"]
        if state["camera"]["port"] < 0 and not properties:
            return "dump"
        if not properties:
            return "dump"
        name = self.rng.choice(list(properties))
        if self.rng.random() < 0.25:
            return "camera get " + name
        current = properties[name]
        if isinstance(current, (int, float)) and self.rng.random() < 0.6:
            value = int(current) + self.rng.choice([-1, 1, 2, -32, 32, 100])
        else:
            value = self.rng.choice([0, 1, 2, 3, 16, 512, 1024, -1, 100000])
        return "camera set %s %d" % (name, value)

    def bad_line(self, state):
        everything = []
        for page, value in state["pages"].items():
            if page != "dialog" and value:
                everything += [page + "." + cid for cid in value["controls"]]
        if everything and self.rng.random() < 0.7:
            return "click " + self.rng.choice(everything)
        return self.rng.choice(["tab Nowhere", "slide settings.1 5", "spin image.16328 sideways"])


class Outcome:
    def __init__(self, status, out, err):
        self.status = status
        self.lines = [canonical(line) for line in out.splitlines()]
        self.errors = [line for line in err.splitlines() if line.startswith("ambrel-host: ")]

    def differences(self, other):
        found = []
        if self.status != other.status:
            found.append("exit status %d headless, %d windows" % (self.status, other.status))
        if self.errors != other.errors:
            found.append("errors %r headless, %r windows" % (self.errors, other.errors))
        for i in range(max(len(self.lines), len(other.lines))):
            a = self.lines[i] if i < len(self.lines) else "(none)"
            b = other.lines[i] if i < len(other.lines) else "(none)"
            if a != b:
                found.append("output line %d:\n  headless: %s\n  windows:  %s" % (i + 1, a, b))
                break
        return found


def canonical(line):
    line = line.rstrip("\r")
    if line.startswith("{"):
        try:
            return json.dumps(json.loads(line), sort_keys=True, separators=(",", ":"))
        except ValueError:
            return line
    return line


class Player:
    """Plays a script on both backends, each on a fresh profile."""

    def __init__(self, host, windows_host, work, kept):
        self.host = host
        self.kept = kept
        self.windows_host = windows_host
        self.work = work
        self.tag = "differential-%d-%d-%s" % (os.getpid(), int(time.time()),
                                              os.path.basename(work))
        self.runs = 0
        self.profiles = []
        self.wine = os.environ.get("AMBREL_WINE", "/usr/lib/wine/wine64")

    def play(self, model, lines):
        self.runs += 1
        script = os.path.join(self.work, "script")
        with open(script, "w", encoding="utf-8", newline="\n") as f:
            f.write("".join(line + "\n" for line in lines))
        profile = os.path.join(self.work, "profile-%d.db" % self.runs)
        headless = self.run([self.host, "--trace", "--profile", profile,
                             "--camera", model_path(model, False), "--script", script])
        for suffix in ("", "-wal", "-shm", "-journal"):
            if os.path.exists(profile + suffix):
                os.remove(profile + suffix)
        windows_profile = "%s-%d" % (self.tag, self.runs)
        self.profiles.append(windows_profile)
        # One Windows host at a time: the mouse cursor belongs to the wineserver's desktop, which
        # every program under it shares, and one host's cursor moves would reach another's
        # controls while they hold the mouse.
        with WINDOWS_RUN:
            windows = self.run([self.wine, self.windows_host, "--trace",
                                "--profile", windows_profile, "--camera", model_path(model, True),
                                "--script", "Z:" + script.replace("/", "\\")])
        return headless, windows

    def keep(self, seed, model, lines, headless, windows):
        """Writes a diverging script and both outputs to the folder for them; answers its path."""
        folder = os.path.join(self.kept, "seed-%d" % seed)
        os.makedirs(folder, exist_ok=True)
        with open(os.path.join(folder, "script"), "w", encoding="utf-8") as f:
            f.write("# camera model: %s\n" % model + "".join(line + "\n" for line in lines))
        for name, outcome in (("headless", headless), ("windows", windows)):
            with open(os.path.join(folder, name + ".out"), "w", encoding="utf-8") as f:
                f.write("exit status %d\n" % outcome.status)
                f.write("".join(line + "\n" for line in outcome.errors + outcome.lines))
        return folder

    @staticmethod
    def run(args):
        done = subprocess.run(args, stdin=subprocess.DEVNULL, capture_output=True, timeout=120)
        text = lambda b: b.decode("utf-8", errors="replace")
        return Outcome(done.returncode, text(done.stdout), text(done.stderr))

    def forget_profiles(self):
        """Deletes the Windows profiles this player made, in one registry import."""
        if not self.profiles:
            return
        reg = os.path.join(self.work, "forget.reg")
        with open(reg, "w", encoding="utf-8") as f:
            f.write("REGEDIT4\n\n")
            for p in self.profiles:
                f.write("[-HKEY_CURRENT_USER\\Software\\AmbrelTest\\%s]\n" % p)
        subprocess.run([self.wine, "regedit", "/s", "Z:" + reg.replace("/", "\\")],
                       stdin=subprocess.DEVNULL, capture_output=True)
        self.profiles = []


def shrink(player, model, lines):
    """The shortest script found, by dropping runs of lines, that still diverges."""
    def diverges(candidate):
        headless, windows = player.play(model, candidate)
        return bool(headless.differences(windows))

    chunk = max(1, len(lines) // 2)
    while chunk >= 1:
        i = 0
        while i < len(lines):
            candidate = lines[:i] + lines[i + chunk:]
            if candidate and diverges(candidate):
                lines = candidate
            else:
                i += chunk
        chunk //= 2
    return lines


def read_list(path):
    """Lines of a list file without comments: (first word, rest of the line)."""
    entries = []
    if path and os.path.exists(path):
        for line in open(path, encoding="utf-8"):
            line = line.split("#", 1)[0].strip()
            if line:
                word, _, rest = line.partition(" ")
                entries.append((word, rest.strip()))
    return entries


def check(player, seed, known, shrinking):
    """Plays one seed's script on both backends: (passed, failed, expected, report)."""
    model, lines = Generator(player.host, seed).generate()
    headless, windows = player.play(model, lines)
    found = headless.differences(windows)
    if seed in known:
        if found:
            return 0, 0, 1, ""
        return 0, 1, 0, ("seed %d: agrees now, but is listed as a known difference (%s)\n"
                         % (seed, known[seed]))
    if not found:
        return 1, 0, 0, ""
    kept = player.keep(seed, model, lines, headless, windows)
    # A script that agrees when played again depends on something besides its lines (timing,
    # another program): a fault all the same, shown as it first diverged, as it cannot be shrunk.
    again_headless, again_windows = player.play(model, lines)
    if not again_headless.differences(again_windows):
        report = "seed %d diverged once and agrees when played again (camera model %s); " \
                 "outputs kept in %s:\n" % (seed, model, kept)
        report += "".join("  " + d.replace("\n", "\n  ") + "\n" for d in found)
        return 0, 1, 0, report
    if shrinking:
        lines = shrink(player, model, lines)
        headless, windows = player.play(model, lines)
        found = headless.differences(windows) or found
    report = "seed %d diverges (camera model %s; outputs kept in %s):\n" % (seed, model, kept)
    report += "".join("  " + d.replace("\n", "\n  ") + "\n" for d in found)
    report += "  script:\n" + "".join("    " + line + "\n" for line in lines)
    return 0, 1, 0, report


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    parser.add_argument("--host", required=True)
    parser.add_argument("--windows-host", required=True)
    parser.add_argument("--count", type=int, default=200)
    parser.add_argument("--seed", type=int, default=None)
    parser.add_argument("--seeds", default=os.path.join(HERE, "seeds.txt"))
    parser.add_argument("--known", default=os.path.join(HERE, "known-differences.txt"))
    parser.add_argument("--jobs", type=int, default=2)
    parser.add_argument("--keep", default=os.path.join(ROOT, "build", "differential"),
                        help="where a diverging script and both outputs are written")
    parser.add_argument("--no-shrink", action="store_true")
    parser.add_argument("--print", dest="show", type=int, default=None,
                        help="print the script of this seed and exit")
    options = parser.parse_args()

    if options.show is not None:
        model, lines = Generator(options.host, options.show).generate()
        print("# camera model: %s" % model)
        print("\n".join(lines))
        return 0

    base = options.seed if options.seed is not None else random.SystemRandom().randrange(1 << 31)
    print("differential: %d random scripts from seed %d (rerun: --seed %d --count %d)"
          % (options.count, base, base, options.count), flush=True)
    seeds = [int(s) for s, _ in read_list(options.seeds)]
    seeds += [base + i for i in range(options.count)]
    known = {int(s): reason for s, reason in read_list(options.known)}

    totals = [0, 0, 0]
    started = time.time()
    lock = threading.Lock()
    local = threading.local()
    players = []

    def task(seed):
        if not hasattr(local, "player"):
            local.player = Player(options.host, options.windows_host,
                                  tempfile.mkdtemp(prefix="ambrel-differential-"), options.keep)
            with lock:
                players.append(local.player)
        result = check(local.player, seed, known, not options.no_shrink)
        with lock:
            for i in range(3):
                totals[i] += result[i]
            if result[3]:
                print(result[3], end="", flush=True)
            done = sum(totals)
            if done % 50 == 0:
                print("differential: %d of %d scripts, %d s" % (done, len(seeds),
                                                              time.time() - started), flush=True)
        if len(local.player.profiles) >= 100:
            local.player.forget_profiles()

    try:
        with concurrent.futures.ThreadPoolExecutor(max(1, options.jobs)) as pool:
            for future in [pool.submit(task, seed) for seed in seeds]:
                future.result()
    finally:
        for player in players:
            player.forget_profiles()
            shutil.rmtree(player.work, ignore_errors=True)
    passed, failed, expected = totals
    print("differential: %d scripts in %d s; %d known differences" %
          (len(seeds), time.time() - started, expected))
    print("%d passed, %d failed" % (passed + expected, failed))
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main())
