"""The Wine session the Windows tests share: an X display (Xvfb), a Wine prefix in the
build tree and a wineserver kept running between the tests. ctest starts it once per run
(fixture setup) and ends it after the last Windows test (fixture cleanup).

usage: session.py start DIR    (DIR/session.json describes the session)
       session.py stop DIR

When Wine or the X tools are missing, start writes the reason into session.json and
exits with 77, which ctest reports as skipped; the tests then skip themselves with the
same reason. A prefix takes minutes to create, so one that is complete is kept for the
next run.
"""

import json
import os
import shutil
import signal
import subprocess
import sys
import time

from driver import RESERVED_VA

SKIPPED = 77
WINE64_CANDIDATES = ["/usr/lib/wine/wine64", "/usr/lib64/wine/wine64"]
WINE32_CANDIDATES = ["/usr/lib/wine/wine", "/usr/lib/i386-linux-gnu/wine/wine"]
TOOLS = ["xdotool", "Xvfb", "import"]
# Values set in every prefix: which calls Wine's relay channel reports (the driver reads
# the messages and dialogs from them); no crash dialog that would wait for a click; and
# windows that Wine frames itself, as Windows would, instead of leaving that to a window
# manager (there is none on the display, and Wine would wait two seconds for one each
# time a window closes).
REGISTRY = [
    ("HKCU\\Software\\Wine\\Debug", "RelayInclude", "REG_SZ",
     "user32.MessageBoxA;user32.DialogBoxParamA;user32.SetDlgItemTextA"),
    ("HKCU\\Software\\Wine\\WineDbg", "ShowCrashDialog", "REG_DWORD", "0"),
    ("HKCU\\Software\\Wine\\X11 Driver", "Managed", "REG_SZ", "N"),
]
PREFIX_READY = "tovo-prefix-ready"


def first_existing(paths):
    for p in paths:
        if os.path.isfile(p) and os.access(p, os.X_OK):
            return p
    return None


def wine_environment(prefix, display):
    env = dict(os.environ, WINEPREFIX=prefix, DISPLAY=display, WINEDEBUG="-all",
               # No downloads of Mono or Gecko, and no dialog asking for them.
               WINEDLLOVERRIDES="mscoree,mshtml=",
               # The 32-bit part of the prefix runs under qemu-i386 here (driver.py).
               QEMU_RESERVED_VA=RESERVED_VA)
    env.pop("WINEARCH", None)
    return env


def wineserver_for(wine64):
    beside = os.path.join(os.path.dirname(wine64), "wineserver64")
    if os.path.exists(beside):
        return beside
    return shutil.which("wineserver") or "wineserver"


def answers(display):
    return subprocess.run(["xdotool", "getdisplaygeometry"], env=dict(os.environ, DISPLAY=display),
                          capture_output=True).returncode == 0


def start_xvfb(log):
    """Xvfb on TOVO_WINE_DISPLAY when given, else on the first free display from :150 on
    (well away from the displays people and other tools use)."""
    wanted = os.environ.get("TOVO_WINE_DISPLAY")
    if wanted and answers(wanted):
        return None, wanted  # a display that is already there stays there
    candidates = [wanted] if wanted else [":%d" % n for n in range(150, 250)]
    for display in candidates:
        if not wanted and os.path.exists("/tmp/.X%s-lock" % display[1:]):
            continue
        process = subprocess.Popen(["Xvfb", display, "-screen", "0", "1024x768x24",
                                    "-nolisten", "tcp"], stdin=subprocess.DEVNULL,
                                   stdout=log, stderr=log, start_new_session=True)
        for _ in range(100):
            if answers(display):
                return process.pid, display
            if process.poll() is not None:
                break  # taken meanwhile: the next one
            time.sleep(0.1)
        else:
            process.kill()
    raise RuntimeError("no X display could be started; see " + log.name)


def make_prefix(prefix, wine64, wineserver, env, log):
    """Creates the prefix unless a complete one is there. Returns the seconds it took."""
    if os.path.exists(os.path.join(prefix, PREFIX_READY)):
        return 0.0
    shutil.rmtree(prefix, ignore_errors=True)
    began = time.monotonic()
    # Its 32-bit part fails where 32-bit programs cannot run; the 64-bit part is
    # checked below by the first program the session starts.
    subprocess.run([wine64, "wineboot", "--init"], env=env, stdin=subprocess.DEVNULL,
                   stdout=log, stderr=log, timeout=1800)
    subprocess.run([wineserver, "-w"], env=env, stdout=log, stderr=log, timeout=1800)
    for key, name, kind, data in REGISTRY:
        subprocess.run([wine64, "reg", "add", key, "/v", name, "/t", kind, "/d", data, "/f"],
                       env=env, stdin=subprocess.DEVNULL, stdout=log, stderr=log, check=True,
                       timeout=600)
    subprocess.run([wineserver, "-w"], env=env, stdout=log, stderr=log, timeout=600)
    with open(os.path.join(prefix, PREFIX_READY), "w") as f:
        f.write("created in %.0f s\n" % (time.monotonic() - began))
    return time.monotonic() - began


def runs_32bit(wine32):
    """Whether this machine can start Wine's 32-bit loader: natively, or through a
    binfmt_misc entry for 32-bit programs (qemu-i386)."""
    if wine32 is None:
        return "Wine's 32-bit loader is not installed (package wine32:i386)"
    try:
        r = subprocess.run([wine32, "--version"], capture_output=True, text=True, timeout=120)
    except OSError as e:
        return "Wine's 32-bit loader cannot start (%s); this kernel runs no 32-bit programs " \
               "and binfmt_misc has no qemu-i386 entry (scripts/setup-debian.sh makes one " \
               "where binfmt_misc can be mounted)" % e.strerror
    if r.returncode != 0:
        return "Wine's 32-bit loader fails: " + (r.stderr or r.stdout).strip()
    return None


def start(directory):
    os.makedirs(directory, exist_ok=True)
    session_file = os.path.join(directory, "session.json")
    if os.path.exists(session_file):
        stop(directory)
    session = {}

    def skip(reason):
        session["skip"] = reason
        with open(session_file, "w") as f:
            json.dump(session, f, indent=1)
        print("SKIPPED: " + reason)
        sys.exit(SKIPPED)

    wine64 = first_existing(WINE64_CANDIDATES) or shutil.which("wine64")
    if wine64 is None:
        skip("Wine's 64-bit loader is not installed (package wine64)")
    missing = [t for t in TOOLS if shutil.which(t) is None]
    if missing:
        skip("missing " + ", ".join(missing) + " (xdotool, xvfb, imagemagick)")

    with open(os.path.join(directory, "session.log"), "w") as log:
        began = time.monotonic()
        xvfb_pid, display = start_xvfb(log)
        session.update(display=display, xvfb_pid=xvfb_pid, wine64=wine64)
        prefix = os.path.join(directory, "prefix")
        wineserver = wineserver_for(wine64)
        session.update(prefix=prefix, wineserver=wineserver)
        # Written now so that stop finds the display even when the prefix fails.
        with open(session_file, "w") as f:
            json.dump(session, f, indent=1)
        env = wine_environment(prefix, display)
        created = make_prefix(prefix, wine64, wineserver, env, log)
        # One server for all the tests: each program then starts in about a second
        # instead of bringing up the server and Wine's services again. A first program
        # starts those services, with this log as their output.
        subprocess.Popen([wineserver, "-p"], env=env, stdin=subprocess.DEVNULL, stdout=log,
                         stderr=log, start_new_session=True)
        first = subprocess.run([wine64, "cmd", "/c", "exit", "7"], env=env,
                               stdin=subprocess.DEVNULL, stdout=log, stderr=log, timeout=600)
        if first.returncode != 7:
            raise RuntimeError("Wine runs no 64-bit program in %s; see %s" % (prefix, log.name))
        # The package tests point the temporary folder elsewhere while they run; a run
        # that was cut short may have left it so.
        for name in ("TEMP", "TMP"):
            subprocess.run([wine64, "reg", "add", "HKCU\\Environment", "/v", name, "/t",
                            "REG_EXPAND_SZ", "/d", "%USERPROFILE%\\Temp", "/f"], env=env,
                           stdin=subprocess.DEVNULL, stdout=log, stderr=log, timeout=600)
        wine32 = first_existing(WINE32_CANDIDATES)
        reason32 = runs_32bit(wine32)
        session.update(wine32=wine32 if reason32 is None else None, skip32=reason32)
        with open(session_file, "w") as f:
            json.dump(session, f, indent=1)
        print("Wine session on %s, prefix %s (%s), ready in %.0f s" %
              (display, prefix, "created in %.0f s" % created if created else "kept",
               time.monotonic() - began))
        if reason32:
            print("32-bit programs: SKIPPED: " + reason32)


def is_xvfb(pid):
    """Whether pid is still the Xvfb this session started (and not a later process that
    was given the same number)."""
    try:
        with open("/proc/%d/cmdline" % pid, "rb") as f:
            return os.path.basename(f.read().split(b"\0")[0]) == b"Xvfb"
    except OSError:
        return False


def stop(directory):
    session_file = os.path.join(directory, "session.json")
    try:
        with open(session_file) as f:
            session = json.load(f)
    except (OSError, ValueError):
        return
    if "prefix" in session:
        env = wine_environment(session["prefix"], session.get("display", ""))
        subprocess.run([session["wineserver"], "-k"], env=env, capture_output=True, timeout=120)
    pid = session.get("xvfb_pid")
    if pid is not None and is_xvfb(pid):
        os.kill(pid, signal.SIGTERM)
    os.remove(session_file)


def main():
    if len(sys.argv) != 3 or sys.argv[1] not in ("start", "stop"):
        sys.exit(__doc__)
    if sys.argv[1] == "start":
        start(os.path.abspath(sys.argv[2]))
    else:
        stop(os.path.abspath(sys.argv[2]))


if __name__ == "__main__":
    main()
