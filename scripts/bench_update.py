"""Times one update package three ways (see bench-update.sh):
(a) Mervik.exe stand-alone: download, verify, unpack, installer, host restart;
(b) the whole road: Glimra with an alias file, the question answered Yes,
    LVK_READY, the installer and the restarted viewer;
(c) curl + openssl cast5 + md5sum + unzip doing the same work natively.
Prints the seconds of each and the ratios (a)/(c) and (b)/(c)."""
import argparse
import os
import random
import shutil
import subprocess
import sys
import tempfile
import threading
import time
from pathlib import Path

ROOT = Path(__file__).resolve().parents[1]
sys.path.insert(0, str(ROOT / "tests" / "e2e"))

from harness.checker_run import PACKAGE_KEY, info_line, make_package  # noqa: E402
from harness.http import Answer, ScriptedServer  # noqa: E402
from harness.wine import Wine, wait_until  # noqa: E402

WORDS = ("フォント 明朝 ゴシック glyph outline kerning hinting 字形 書体 sample text update "
         "package installer 見本 文字 Glimra Mervik Lanvik").split()


def build_package(mib, work: Path):
    """About mib MiB on the wire: random data and a quarter as much text,
    which deflates to little; a setupeasy.bat that records its arguments."""
    rng = random.Random(14)
    random_part = os.urandom(mib * 1024 * 1024 * 15 // 16)
    words = " ".join(rng.choice(WORDS) for _ in range(150000)).encode("cp932", errors="replace")
    text_size = mib * 1024 * 1024 // 4
    text = (words * (text_size // len(words) + 1))[:text_size]
    out = work / "installer.txt"
    bat = (f'@echo installer %*>> "{winpath(out)}"\r\n').encode()
    files = {"setupeasy.bat": bat, "payload.bin": random_part, "docs/readme.txt": text}
    return make_package(files), out


def winpath(path):
    return "Z:" + str(Path(path).resolve()).replace("/", "\\")


class PeakMemory(threading.Thread):
    """Samples VmHWM of the Unix processes whose command line names a program."""

    def __init__(self, program):
        super().__init__(daemon=True)
        self.program = program
        self.peak_kib = 0
        self.done = threading.Event()

    def run(self):
        while not self.done.is_set():
            for pid in os.listdir("/proc"):
                if not pid.isdigit():
                    continue
                try:
                    cmd = Path(f"/proc/{pid}/cmdline").read_bytes()
                    if self.program.encode() not in cmd:
                        continue
                    for line in Path(f"/proc/{pid}/status").read_text().splitlines():
                        if line.startswith("VmHWM:"):
                            self.peak_kib = max(self.peak_kib, int(line.split()[1]))
                except OSError:
                    pass
            time.sleep(0.05)

    def stop(self):
        self.done.set()
        self.join()
        return self.peak_kib


class TimedLines(threading.Thread):
    """Reads a trace from a pipe into a file and notes when each line came."""

    def __init__(self, pipe, path):
        super().__init__(daemon=True)
        self.pipe, self.path, self.start_time = pipe, path, time.monotonic()
        self.lines = []

    def run(self):
        with open(self.path, "wb") as out:
            for line in self.pipe:
                out.write(line)
                self.lines.append((time.monotonic() - self.start_time, line.decode("cp932", "replace").rstrip()))

    def timeline(self):
        """Every line but the per-block progress, with its arrival in seconds."""
        return [f"{t:7.2f}  {text[:70]}" for t, text in self.lines if not text.startswith("SendLvkMessage 1442")]


def time_standalone(wine, server, work: Path, memory=False, phases=False):
    """Mervik.exe with no host and no relay: it answers its own question."""
    folder = work / "a"
    shutil.rmtree(folder, ignore_errors=True)
    (folder / "host").mkdir(parents=True)
    marker = folder / "marker.txt"
    url = server.url("/info.dat")
    args = [winpath(wine.bin / "Mervik.exe"), url, "02001", "0", "0", winpath(folder / "host") + "\\",
            winpath(wine.bin / "Marker.exe")]
    env = dict(wine.env, GLIMRA_MARKER=winpath(marker))
    sampler = PeakMemory("Mervik.exe")
    if memory:
        sampler.start()
    start = time.monotonic()
    reader = None
    with open(folder / "trace.txt", "wb") as trace:
        proc = subprocess.Popen(["wine", str(wine.bin / "Mervik.exe"), *args[1:]], env=env, cwd=folder,
                                stdin=subprocess.DEVNULL, stdout=subprocess.PIPE if phases else trace,
                                stderr=subprocess.DEVNULL)
        if phases:
            reader = TimedLines(proc.stdout, folder / "trace.txt")
            reader.start()
        code = proc.wait(timeout=3600)
        if reader:
            reader.join()
    wait_until(lambda: marker.exists(), timeout=60, interval=0.02)
    seconds = time.monotonic() - start
    if reader:
        print("\n".join(reader.timeline()))
        print(f"{seconds:7.2f}  (the restarted host's marker)")
    peak = sampler.stop() if memory else 0
    text = (folder / "trace.txt").read_bytes().decode("cp932", errors="replace")
    if code != 0 or "SendLvkMessage 1800 0" not in text:
        raise RuntimeError(f"stand-alone run failed (exit {code}); trace in {folder / 'trace.txt'}")
    return seconds, peak, text


def time_full_road(wine, server, work: Path):
    """Glimra's automatic check, Yes, LVK_READY, installer, restarted viewer."""
    from harness.glimra import Glimra
    folder = work / "b"
    shutil.rmtree(folder, ignore_errors=True)
    folder.mkdir(parents=True)
    (folder / "Mervik.alias").write_text(f"URL * {server.url('/info.dat')}\n")
    wine.reg_delete(r"HKCU\Software\VANTO")
    viewer = Glimra(wine, cwd=folder)

    def question():
        for w in wine.find_windows("#32770", "Glimra"):
            if w.visible and w.text == "Glimra":
                return w
        return None
    box = wait_until(question, timeout=120, interval=0.05)
    start = time.monotonic()
    wine.command(box.hwnd, 6)  # IDYES
    viewer.proc.wait(timeout=3600)
    ready = time.monotonic() - start
    again = wine.wait_window("FwFrame128", "Glimra", timeout=300)
    seconds = time.monotonic() - start
    wine.close(again.hwnd)
    wait_until(lambda: not wine.find_windows("FwFrame128", "Glimra"), timeout=60)
    wine.stop()
    return seconds, ready


def time_native(server, package_size, work: Path):
    """The same work by the standard tools."""
    folder = work / "c"
    shutil.rmtree(folder, ignore_errors=True)
    folder.mkdir(parents=True)
    key = PACKAGE_KEY.hex()
    script = f"""
set -e
cd "{folder}"
curl -s -o pkg.upd "{server.url('/pkg.upd')}"
len=$(od -An -tu4 -j8 -N4 pkg.upd | tr -d ' ')
tail -c +33 pkg.upd | openssl enc -d -cast5-ecb -provider legacy -provider default -nopad -K {key} \
  | head -c "$len" > pkg.zip
md5=$(od -An -tx1 -j16 -N16 pkg.upd | tr -d ' \\n')
[ "$(md5sum < pkg.zip | cut -d' ' -f1)" = "$md5" ]
unzip -q -o pkg.zip -d out
"""
    start = time.monotonic()
    subprocess.run(["bash", "-c", script], check=True)
    return time.monotonic() - start


def main():
    parser = argparse.ArgumentParser(description=__doc__)
    parser.add_argument("--build", default=str(ROOT / "build" / "win32"))
    parser.add_argument("--mib", type=int, default=32, help="package size in MiB")
    parser.add_argument("--only", default="abc", help="which timings to run: any of a, b, c")
    parser.add_argument("--memory", action="store_true", help="report the checker's peak memory in (a)")
    parser.add_argument("--keep", action="store_true", help="keep the work folder")
    parser.add_argument("--phases", action="store_true", help="print when each trace line of (a) came")
    opts = parser.parse_args()

    wine = Wine(Path(opts.build))
    work = Path(tempfile.mkdtemp(prefix="bench-update-"))
    package, installer_marker = build_package(opts.mib, work)
    server = ScriptedServer()
    server.route("/pkg.upd", Answer(body=package, chunk=65536))
    server.route("/info.dat", Answer(body=info_line(server.url("/pkg.upd"))))
    print(f"package: {len(package)} bytes ({len(package) / 2**20:.1f} MiB, {-(-len(package) // 1024)} blocks)")
    results = {}
    try:
        if "c" in opts.only:
            results["c"] = time_native(server, len(package), work)
            print(f"(c) curl + openssl + md5sum + unzip: {results['c']:.2f} s")
        if "a" in opts.only:
            seconds, peak, _ = time_standalone(wine, server, work, opts.memory, opts.phases)
            results["a"] = seconds
            print(f"(a) Mervik.exe stand-alone:          {seconds:.2f} s" +
                  (f"  (peak memory {peak / 1024:.1f} MiB)" if opts.memory else ""))
        if "b" in opts.only:
            seconds, ready = time_full_road(wine, server, work)
            results["b"] = seconds
            print(f"(b) Glimra, Yes to restarted viewer: {seconds:.2f} s  (viewer ended after {ready:.2f} s)")
        if "c" in results:
            for k in ("a", "b"):
                if k in results:
                    print(f"({k})/(c) = {results[k] / results['c']:.1f}")
    finally:
        server.close()
        wine.stop()
        if not opts.keep:
            shutil.rmtree(work, ignore_errors=True)
        else:
            print(f"work folder: {work}")


if __name__ == "__main__":
    main()
