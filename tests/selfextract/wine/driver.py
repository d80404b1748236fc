"""Runs a Windows program under Wine on the session's X display and answers its message
boxes and dialogs with real key presses (xdotool), as a person at the screen would.

What the program shows is read from Wine's relay channel, which reports the calls named
in the prefix's RelayInclude list (session.py sets it): MessageBoxA with its text, title
and type, DialogBoxParamA with the template's name, and SetDlgItemTextA with the text of
the overwrite question. Each such call must bring up a window of the expected title on
the display; the driver then answers it with keys and waits until the call returns.

The answers are lines, read as the POSIX stub reads them from standard input: a question
box takes one ("", "ok", "y", "yes" agree), the password dialog takes one (typed, then
Enter; an empty line is an empty attempt), the overwrite question takes one ("y" Yes, "n"
No, "A" Yes to all, "N" No to all); plain message boxes take none and are confirmed with
Enter. When the answers run out: Cancel, No, an empty password.

The transcript has a line per window in the POSIX stub's wording ("Title: text", question
boxes with " [OK/Cancel]" or " [Yes/No]", "Enter password...: ", "Confirm overwrite
of...: text"), so the same expectations hold for both.
"""

import json
import os
import re
import struct
import subprocess
import sys
import tempfile
import threading
import time

MB_OKCANCEL, MB_YESNO = 0x01, 0x04
AGREE_OK = ("", "o", "ok", "y", "yes")
AGREE_YES = ("", "y", "yes")


class WineError(AssertionError):
    """The program did not behave as a program under test should (no window where one
    was announced, no end in time); the message names a screenshot when there is one."""


SKIPPED = 77
# Where 32-bit programs run under qemu-i386: the emulator reserves the whole 32-bit
# address space for the program up front and places mappings where Wine asks for them.
# Without it, qemu puts its own mappings at addresses Wine needs later, and a 32-bit
# Wine often fails to start ("failed to map the shared user data").
RESERVED_VA = "0xffff0000"


def load_session(path):
    with open(path) as f:
        return json.load(f)


def skip_unless_ready(session_file, bits=64):
    """Ends the test as skipped (exit status 77, which ctest reports as such) when the
    session could not be made, or when it cannot run programs of that many bits."""
    try:
        session = load_session(session_file)
    except (OSError, ValueError):
        reason = "no Wine session (%s); its setup did not run or failed" % session_file
    else:
        reason = session.get("skip") or (session.get("skip32") if bits == 32 else None)
    if reason:
        print("SKIPPED: " + reason)
        sys.exit(SKIPPED)


def is_64bit(program):
    """Whether a PE file is a 64-bit program (PE32+)."""
    with open(program, "rb") as f:
        head = f.read(4096)
    offset = struct.unpack_from("<I", head, 0x3C)[0]
    return struct.unpack_from("<H", head, offset + 24)[0] == 0x20B


def native_path(path):
    """The Windows form of a POSIX path: Wine's drive Z: is the POSIX root."""
    return "Z:" + os.path.abspath(path).replace("/", "\\")


# ---- Wine's relay channel ---------------------------------------------------------------

RELAY = re.compile(r"^([0-9a-f]{4}):(Call|Ret) +user32\.(\w+)\((.*)$")
ESCAPES = {"n": "\n", "r": "\r", "t": "\t", '"': '"', "\\": "\\"}


def parse_arguments(text):
    """The arguments of a relayed call: numbers as ints, strings as str (Wine writes a
    pointer to text as its address followed by the text in quotes)."""
    args, i = [], 0
    while i < len(text) and text[i] != ")":
        m = re.match(r"[0-9a-fA-F]+", text[i:])
        number = int(m.group(0), 16) if m else None
        i += m.end() if m else 0
        if text.startswith(' "', i):
            i += 2
            chars = []
            while i < len(text) and text[i] != '"':
                if text[i] == "\\" and i + 1 < len(text):
                    if text[i + 1] == "x":
                        chars.append(chr(int(text[i + 2:i + 4], 16)))
                        i += 4
                        continue
                    chars.append(ESCAPES.get(text[i + 1], text[i + 1]))
                    i += 2
                    continue
                chars.append(text[i])
                i += 1
            i += 1
            if text.startswith("...", i):  # Wine cut a long text
                chars.append("...")
                i += 3
            args.append("".join(chars))
        else:
            args.append(number)
        if i < len(text) and text[i] == ",":
            i += 1
    return args


class RelayLog:
    """Collects the relayed user32 calls from the program's standard error, a pipe (which
    a file size limit set for the program does not cut short) read by a thread of its
    own. Programs the program starts inherit the pipe and write to it too."""

    def __init__(self, pipe):
        self.lock = threading.Lock()
        self.found = []
        self.thread = threading.Thread(target=self.read, args=(pipe,), daemon=True)
        self.thread.start()

    def read(self, pipe):
        with pipe:
            for raw in pipe:
                m = RELAY.match(raw.decode("latin-1"))
                if m:
                    event = (m.group(2), m.group(3), parse_arguments(m.group(4))
                             if m.group(2) == "Call" else m.group(4))
                    with self.lock:
                        self.found.append(event)

    def events(self):
        with self.lock:
            found, self.found = self.found, []
        return found


# ---- The X display --------------------------------------------------------------------------


class Display:
    def __init__(self, display, shots=None):
        self.env = dict(os.environ, DISPLAY=display)
        self.shots = shots
        self.count = 0

    def xdotool(self, *args, timeout=20):
        return subprocess.run(["xdotool", *args], env=self.env, capture_output=True, text=True,
                              timeout=timeout).stdout

    def windows_named(self, title, pid):
        """The visible windows of process pid with that title (Wine sets _NET_WM_PID)."""
        found = self.xdotool("search", "--onlyvisible", "--pid", str(pid), "--name",
                             "^" + re.escape(title) + "$")
        return found.split()

    def screenshot(self, label, window="root", always=False):
        """A PNG of a window (or the whole screen) in the shots folder; returns its path.
        Without a shots folder only the pictures taken always are made, in a temporary
        folder (those that show a failure)."""
        if self.shots is None and not always:
            return None
        folder = self.shots or tempfile.mkdtemp(prefix="tovo-wine-shot-")
        os.makedirs(folder, exist_ok=True)
        self.count += 1
        name = "%03d-%s.png" % (self.count, re.sub(r"[^A-Za-z0-9]+", "-", label).strip("-"))
        path = os.path.join(folder, name)
        subprocess.run(["import", "-window", window, path], env=self.env, capture_output=True,
                       timeout=30)
        return path

    def press(self, window, *keys, typed=None):
        """Gives the window the keyboard and presses keys (after typing text, if any)."""
        self.xdotool("windowfocus", "--sync", window)
        if typed:
            self.xdotool("type", "--delay", "20", typed)
        for key in keys:
            self.xdotool("key", key)


# ---- Running a program -------------------------------------------------------------------------


class WineRunner:
    """Runs programs in the session's prefix and answers their windows."""

    def __init__(self, session, shots=None, slow=False):
        self.session = session
        self.display = Display(session["display"], shots)
        # Under emulation (32-bit programs on this kind of machine) a process needs about
        # a minute to start and each window a few seconds to appear.
        self.window_timeout = 240 if slow else 30
        self.run_timeout = 900 if slow else 120

    def loader_for(self, program):
        loader = self.session["wine64"] if is_64bit(program) else self.session.get("wine32")
        if loader is None:
            raise WineError("32-bit programs cannot run: " + self.session.get("skip32", "?"))
        return loader

    def environment(self, env):
        env = dict(env, WINEPREFIX=self.session["prefix"], DISPLAY=self.session["display"],
                   WINEDEBUG="-all,+relay", WINEDLLOVERRIDES="mscoree,mshtml=",
                   QEMU_RESERVED_VA=RESERVED_VA)
        env.pop("WINEARCH", None)
        return env

    def run(self, argv, answers="", cwd=None, env=None, preexec_fn=None, restore_signals=True,
            steps=()):
        """Runs argv (a program and its arguments, POSIX paths) and answers its windows
        from the answer lines. steps are (prompt, action, answer) as the POSIX tests take
        them: action runs when a window whose transcript line holds prompt is up, before
        it is answered. Returns (exit status, transcript)."""
        lines = answers.split("\n")
        if lines and lines[-1] == "":
            lines.pop()
        self.steps = [(prompt, action) for prompt, action, _ in steps]
        process = subprocess.Popen([self.loader_for(argv[0]), *argv], cwd=cwd,
                                   env=self.environment(env or os.environ),
                                   stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL,
                                   stderr=subprocess.PIPE, preexec_fn=preexec_fn,
                                   restore_signals=restore_signals)
        self.pid = process.pid  # the loader becomes the program: its windows carry this pid
        try:
            transcript = self.answer_windows(process, RelayLog(process.stderr), iter(lines))
        finally:
            if process.poll() is None:
                process.kill()
                process.wait()
        return process.returncode, "".join(transcript)

    def answer_windows(self, process, relay, answers):
        transcript = []
        deadline = time.monotonic() + self.run_timeout
        pending = []
        while True:
            pending += relay.events()
            while pending:
                kind, function, args = pending.pop(0)
                if kind != "Call":
                    continue
                if function == "MessageBoxA":
                    transcript.append(self.message_box(relay, pending, args, answers))
                elif function == "DialogBoxParamA" and args[1] == "PASSWD":
                    transcript.append(self.password(relay, pending, answers))
                elif function == "DialogBoxParamA" and args[1] == "FILEEXIST":
                    transcript.append(self.overwrite(relay, pending, answers))
            if process.poll() is not None:
                # What the program wrote before it ended is in the pipe; programs it
                # started may keep the pipe open, so its end is not waited for.
                time.sleep(0.1)
                pending += relay.events()
                if not any(kind == "Call" for kind, _, _ in pending):
                    return transcript
                continue
            if time.monotonic() > deadline:
                shot = self.display.screenshot("did-not-end", always=True)
                raise WineError("the program did not end within %d s (screen: %s)"
                                % (self.run_timeout, shot))
            time.sleep(0.05)

    def window(self, relay, pending, title):
        """Waits for the one visible window of that title; returns its id."""
        deadline = time.monotonic() + self.window_timeout
        while time.monotonic() < deadline:
            found = self.display.windows_named(title, self.pid)
            if found:
                return found[-1]
            pending += relay.events()
            time.sleep(0.1)
        shot = self.display.screenshot("missing-" + title, always=True)
        raise WineError("no window %r appeared within %d s (screen: %s)"
                        % (title, self.window_timeout, shot))

    def returned(self, relay, pending, function, window, what):
        """Waits until the call that showed the window returns."""
        deadline = time.monotonic() + self.window_timeout
        while time.monotonic() < deadline:
            pending += relay.events()
            for i, (kind, name, _) in enumerate(pending):
                if kind == "Ret" and name == function:
                    del pending[:i + 1]
                    return
            time.sleep(0.05)
        shot = self.display.screenshot("unanswered-" + what, always=True)
        raise WineError("%s did not close after the answer (screen: %s)" % (what, shot))

    def showing(self, window, label, line):
        """A window is up and says line: its picture, and the step waiting for it."""
        self.display.screenshot(label, window)
        if self.steps and self.steps[0][0] in line:
            action = self.steps.pop(0)[1]
            if action:
                action()

    def message_box(self, relay, pending, args, answers):
        text, title, style = args[1], args[2], args[3]
        window = self.window(relay, pending, title)
        buttons = style & 0x0F
        if buttons == MB_OKCANCEL:
            line = "%s: %s [OK/Cancel]\n" % (title, text)
            self.showing(window, "box-" + title, line)
            answer = next(answers, None)
            self.display.press(window, "Return" if answer in AGREE_OK else "Escape")
        elif buttons == MB_YESNO:
            line = "%s: %s [Yes/No]\n" % (title, text)
            self.showing(window, "box-" + title, line)
            answer = next(answers, None)
            self.display.press(window, "y" if answer in AGREE_YES else "n")
        else:
            line = "%s: %s\n" % (title, text)
            self.showing(window, "box-" + title, line)
            self.display.press(window, "Return")
        self.returned(relay, pending, "MessageBoxA", window, "message box %r" % title)
        return line

    def password(self, relay, pending, answers):
        window = self.window(relay, pending, "Enter password...")
        line = "Enter password...: \n"
        self.showing(window, "password", line)
        answer = next(answers, None)
        self.display.press(window, "Return", typed=answer or None)
        self.returned(relay, pending, "DialogBoxParamA", window, "the password dialog")
        return line

    def overwrite(self, relay, pending, answers):
        window = self.window(relay, pending, "Confirm overwrite of...")
        pending += relay.events()
        texts = [args[2] for kind, name, args in pending
                 if kind == "Call" and name == "SetDlgItemTextA" and args[1] == 101]
        line = "Confirm overwrite of...: %s\n" % (texts[-1] if texts else "")
        self.showing(window, "overwrite", line)
        answer = next(answers, None)
        if answer in ("A", "all"):
            keys = ("a", "y")  # "Don't ask again", then Yes
        elif answer in ("N", "none"):
            keys = ("a", "n")
        else:
            keys = ("y",) if answer in AGREE_YES else ("n",)
        self.display.press(window, *keys)
        self.returned(relay, pending, "DialogBoxParamA", window, "the overwrite question")
        return line
