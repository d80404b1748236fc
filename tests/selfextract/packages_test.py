"""End-to-end tests of Tovo packages: archives made by Info-ZIP zip, 7-Zip, Python's
zipfile and by hand are packed with tovo-pack around the stub, run as a person would
run them (standard input scripted), and the extracted tree and exit status compared.

usage: packages_test.py --stub STUB --pack TOVO_PACK [--stub-size N] [--shim SHIM]
                        [--wine-session FILE --probe PROBE.exe] [unittest options]

With --wine-session the stub is a Windows stub and every package runs under Wine
(wine/driver.py): its message boxes and dialogs are answered with keys on the session's
X display from the same answer lines, and the same expectations hold, with paths in
their Windows form and the few rules where Windows differs written out in the cases.
Cases about what only POSIX systems have (terminals, signals, the fault shim) skip
themselves there.
"""

import argparse
import atexit
import io
import os
import resource
import select
import shutil
import signal
import stat
import struct
import subprocess
import sys
import tempfile
import termios
import time
import unittest
import zipfile
import zlib

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import zipcraft  # noqa: E402

STUB = PACK = SHIM = RUNNER = PROBE = None
STUB_SIZE = 39424

# Exit statuses of the stub.
SUCCESS, FAILURE, DECLINED, NO_COMMAND = 0, 1, 2, 3

BAD_PAYLOAD = "Error..: Incorrect file size, please try to download this file again."
# On POSIX the message names the folder.
FINISHED = "Finished.: All files have been extracted into "
WINDOWS_FINISHED = "Finished.: All files have been extracted."
INCOMPLETE = "Error..: The selected file(s) couldn't get extracted."
READ_ERROR = "Error..: Error reading archive."


def have(program):
    return shutil.which(program) is not None


class PosixRunner:
    """Runs a package as a process of this system: the questions are answered on standard
    input, and the transcript is what it writes to standard error."""

    windows = False
    separator = "/"

    def package_name(self, name):
        return name

    def native(self, path):
        return path

    def environment(self, case):
        env = dict(os.environ, TMPDIR=case.path("tmp"), HOME=case.path("home"),
                   TOVO_REGISTRY=case.path("registry"))
        env.pop("XDG_CONFIG_HOME", None)
        return env

    def set_registry(self, case, lines):
        """Values as ROOT\\Subkey\\Name=data lines, or None for no registry at all."""
        registry = case.path("registry")
        if lines is None:
            if os.path.exists(registry):
                os.remove(registry)
            return
        with open(registry, "w") as f:
            f.write("\n".join(lines) + "\n")

    def run(self, case, package, answers, cwd, file_size_limit, ignore_sigxfsz, args=(),
            output=None):
        def limit():
            if file_size_limit is not None:
                resource.setrlimit(resource.RLIMIT_FSIZE, (file_size_limit, file_size_limit))

        r = subprocess.run([package, *args], input=answers, capture_output=True, text=True,
                           cwd=cwd, env=case.env, timeout=60, preexec_fn=limit,
                           restore_signals=not ignore_sigxfsz)
        if output is not None:
            output.append(r.stdout)
        return r.returncode, r.stderr


class WineRunner(PosixRunner):
    """Runs a Windows package under Wine (wine/driver.py answers its windows). Paths
    given to the package and shown by it are in their Windows form; the registry is
    Wine's, set with reg.exe."""

    windows = True
    separator = "\\"

    def __init__(self, session_file, slow=False):
        from wine import driver
        self.driver = driver
        self.session = driver.load_session(session_file)
        self.wine = driver.WineRunner(self.session, shots=os.environ.get("TOVO_WINE_SHOTS"),
                                      slow=slow)
        self.registry_keys = set()
        self.temporary_folder = None

    def package_name(self, name):
        return name + ".exe"

    def native(self, path):
        return self.driver.native_path(path)

    def environment(self, case):
        return dict(os.environ, HOME=case.path("home"))

    def wine_tool(self, *args):
        return subprocess.run([self.session["wine64"], *args], capture_output=True, text=True,
                              env=self.wine.environment(os.environ), timeout=120)

    def short_path(self, path):
        """The short (8.3) form Wine gives an existing file."""
        return self.wine_tool("winepath", "-s", self.native(path)).stdout.strip()

    def set_registry(self, case, lines):
        for key in sorted(self.registry_keys):
            self.wine_tool("reg", "delete", key, "/f")
        self.registry_keys.clear()
        for line in lines or []:
            path, data = line.split("=", 1)
            key, name = path.rsplit("\\", 1)
            r = self.wine_tool("reg", "add", key, "/v", name, "/d", data, "/f")
            case.assertEqual(r.returncode, 0, line + r.stdout + r.stderr)
            self.registry_keys.add(key)

    def set_temporary_folder(self, folder):
        """Wine takes TEMP and TMP from the registry, not from the environment it is
        started in. Returns the reg tool's result."""
        entries = "".join('"%s"="%s"\r\n' % (name, folder.replace("\\", "\\\\"))
                          for name in ("TEMP", "TMP"))
        with tempfile.NamedTemporaryFile("w", suffix=".reg", newline="", delete=False) as f:
            f.write("Windows Registry Editor Version 5.00\r\n\r\n"
                    "[HKEY_CURRENT_USER\\Environment]\r\n" + entries)
        try:
            return self.wine_tool("reg", "import", self.native(f.name))
        finally:
            os.remove(f.name)

    def restore_temporary_folder(self):
        """The prefix's own temporary folder, as Wine makes it (session.py sets it so too)."""
        for name in ("TEMP", "TMP"):
            self.wine_tool("reg", "add", "HKCU\\Environment", "/v", name, "/t", "REG_EXPAND_SZ",
                           "/d", "%USERPROFILE%\\Temp", "/f")

    def use_temporary_folder(self, case):
        """Makes the case's tmp/ the temporary folder; the prefix's own comes back when
        the tests end, for the other programs run in it."""
        tmp = self.native(case.path("tmp"))
        if tmp == self.temporary_folder:
            return
        if self.temporary_folder is None:
            atexit.register(self.restore_temporary_folder)
        r = self.set_temporary_folder(tmp)
        case.assertEqual(r.returncode, 0, r.stdout + r.stderr)
        self.temporary_folder = tmp

    def run(self, case, package, answers, cwd, file_size_limit, ignore_sigxfsz, args=(),
            output=None, steps=()):
        def limit():
            if file_size_limit is not None:
                resource.setrlimit(resource.RLIMIT_FSIZE, (file_size_limit, file_size_limit))

        self.use_temporary_folder(case)
        return self.wine.run([package], answers, cwd=cwd, env=case.env, preexec_fn=limit,
                             restore_signals=not ignore_sigxfsz, steps=steps)


class PackageCase(unittest.TestCase):
    """A scratch folder per test with src/ (inputs), out/ (extraction folder), tmp/
    (the temporary folder) and home/."""

    def setUp(self):
        self.root = tempfile.mkdtemp(prefix="tovo-e2e-")
        self.addCleanup(shutil.rmtree, self.root, True)
        for d in ("src", "out", "tmp", "home"):
            os.mkdir(self.path(d))
        self.env = RUNNER.environment(self)
        self.on_windows = RUNNER.windows

    def posix_only(self, reason):
        """Skips a case about what only POSIX systems have."""
        if self.on_windows:
            self.skipTest(reason)

    def finished(self, folder):
        """The "Finished." message of a run that extracted into folder (the Windows stub
        does not name the folder)."""
        return WINDOWS_FINISHED if self.on_windows else FINISHED + folder

    def not_yet_on_windows(self, gap):
        """Skips a case that the Windows stub does not pass yet, naming the gap."""
        if self.on_windows:
            self.skipTest("not yet on Windows: " + gap)

    def path(self, *parts):
        return os.path.join(self.root, *parts)

    def native(self, path):
        """path as the stub takes and shows it."""
        return RUNNER.native(path)

    def shown_name(self, name):
        """An entry name as the stub shows it: with the system's separator."""
        return name.replace("\\", "/").replace("/", RUNNER.separator)

    def write(self, rel, data, base="src"):
        p = self.path(base, rel)
        os.makedirs(os.path.dirname(p), exist_ok=True)
        with open(p, "wb") as f:
            f.write(data if isinstance(data, bytes) else data.encode())
        return p

    def sample_tree(self):
        """A small tree: text, binary, an empty file and nested folders."""
        files = {
            "readme.txt": b"hello, package\n" * 50,
            "bin/data.bin": bytes(range(256)) * 300 + os.urandom(5000),
            "deep/a/b/c/leaf.txt": b"leaf",
            "empty.txt": b"",
        }
        if not self.on_windows:  # the Windows stub writes names as ANSI bytes
            # Each producer marks or stores a name beyond ASCII its own way.
            files["ünï/cödé ☺.txt"] = b"unicode"
        for rel, data in files.items():
            self.write(rel, data)
        return files

    def pack(self, *options, zip_path=None, inputs=None, name="package"):
        out = self.path(RUNNER.package_name(name))
        # A folder of this machine is given to the stub in the stub's own form.
        options = [self.native(o) if options[i - 1:i] == ("--folder",) and o.startswith("/")
                   else o for i, o in enumerate(options)]
        args = [PACK, "--stub", STUB, "--stub-size", str(STUB_SIZE), "-o", out, *options]
        args += ["--zip", zip_path] if zip_path else list(inputs or [])
        r = subprocess.run(args, capture_output=True, text=True)
        self.assertEqual(r.returncode, 0, r.stderr)
        return out

    def pack_bytes(self, archive, *options):
        """A package of the stub, the record tovo-pack writes for options, and archive as
        it stands: tovo-pack itself refuses the broken and hostile archives the stub must
        also survive, so it packs a stand-in that is then replaced."""
        z = self.path("archive.zip")
        with open(z, "wb") as f:
            f.write(zipcraft.build([zipcraft.entry("stand-in", b"")]))
        package = self.pack(*options, zip_path=z)
        with open(package, "r+b") as f:
            f.seek(STUB_SIZE + 6)
            record_size = struct.unpack("<H", f.read(2))[0]
            f.seek(STUB_SIZE + record_size)
            f.write(archive)
            f.truncate()
        return package

    def run_package(self, package, answers="", cwd=None, file_size_limit=None,
                    ignore_sigxfsz=False, args=(), output=None):
        """Runs the package; file_size_limit stands in for a full disk (writes past it
        fail, or end the process with SIGXFSZ unless ignore_sigxfsz, as a shell that
        ignores the signal passes it on)."""
        if args or output is not None:
            self.posix_only("the Windows stub reads no arguments")
        return RUNNER.run(self, package, answers, cwd or self.root, file_size_limit,
                          ignore_sigxfsz, args, output)

    def run_talking(self, package, steps, stdin=subprocess.PIPE):
        """Runs the package and answers its questions one by one: for each step
        (prompt, action, answer) waits until prompt has appeared on standard error, runs
        action (or nothing), then types answer. Returns the exit status and all it
        wrote. Under Wine the prompt is looked for in what each window says."""
        if self.on_windows:
            return RUNNER.run(self, package, "".join(a or "" for _, _, a in steps), self.root,
                              None, False, steps=steps)
        p = subprocess.Popen([package], stdin=stdin, stderr=subprocess.PIPE,
                             stdout=subprocess.DEVNULL, cwd=self.root, env=self.env)
        seen = b""
        try:
            for prompt, action, answer in steps:
                while prompt.encode() not in seen:
                    ready, _, _ = select.select([p.stderr], [], [], 30)
                    chunk = os.read(p.stderr.fileno(), 4096) if ready else b""
                    if not chunk:
                        self.fail("no %r in %r" % (prompt, seen.decode()))
                    seen += chunk
                if action:
                    action()
                if answer is not None:
                    if stdin == subprocess.PIPE:
                        p.stdin.write(answer.encode())
                        p.stdin.flush()
                    else:
                        os.write(self.terminal, answer.encode())
            if stdin == subprocess.PIPE:
                p.stdin.close()
            seen += p.stderr.read()
            return p.wait(timeout=60), seen.decode()
        finally:
            if p.poll() is None:
                p.kill()
                p.wait()
            p.stderr.close()

    def use_shim(self, **settings):
        """Loads the fault shim into the packages run from here on, with its settings."""
        self.posix_only("the fault shim is a library for POSIX programs")
        if SHIM is None:
            self.skipTest("no --shim given")
        self.env.update(settings, LD_PRELOAD=SHIM)
        # The sanitizer build's runtime must otherwise come first.
        self.env["ASAN_OPTIONS"] = self.env.get("ASAN_OPTIONS", "") + ":verify_asan_link_order=0"

    def tree(self, base="out"):
        found = {}
        top = self.path(base)
        for dirpath, dirnames, filenames in os.walk(top):
            for d in dirnames:
                found[os.path.relpath(os.path.join(dirpath, d), top) + "/"] = None
            for f in filenames:
                with open(os.path.join(dirpath, f), "rb") as fh:
                    found[os.path.relpath(os.path.join(dirpath, f), top)] = fh.read()
        return found

    def files_of(self, base="out"):
        return {k: v for k, v in self.tree(base).items() if v is not None}

    def wait_for(self, path, seconds=30):
        """The lines of a file that a started command writes."""
        deadline = time.monotonic() + seconds
        while time.monotonic() < deadline:
            if os.path.exists(path):
                with open(path) as f:
                    return f.read().splitlines()
            time.sleep(0.05)
        self.fail("the command did not run")

    def assertNoTempFiles(self, base="out"):
        left = [k for k in self.tree(base) if ".tovo-" in k]
        self.assertEqual(left, [], "temporary files left behind")


class StubFile(unittest.TestCase):
    def test_stub_is_exactly_stub_size_and_holds_no_zip_signature(self):
        with open(STUB, "rb") as f:
            data = f.read()
        if os.path.basename(STUB) == "tovo":
            self.assertEqual(len(data), 39424)
        # A reader that scans a package for records must find only the archive's own.
        for signature in (b"PK\x03\x04", b"PK\x05\x06"):
            self.assertNotIn(signature, data)


class Producers(PackageCase):
    """Archives of other programs extract to the same tree."""

    def check_extracts(self, zip_path, files, *options):
        package = self.pack("--folder", self.path("out"), *options, zip_path=zip_path)
        rc, err = self.run_package(package, answers="secret\n")
        self.assertEqual(rc, SUCCESS, err)
        self.assertIn(FINISHED, err)
        got = self.files_of("out")
        want = {os.path.join("src", k): v for k, v in files.items()}
        self.assertEqual(got, want)
        self.assertNoTempFiles()

    def zip_with(self, argv):
        r = subprocess.run(argv, cwd=self.root, capture_output=True, text=True)
        self.assertEqual(r.returncode, 0, r.stdout + r.stderr)
        return self.path("made.zip")

    def fresh_output_and_zip(self):
        shutil.rmtree(self.path("out"))
        os.mkdir(self.path("out"))
        if os.path.exists(self.path("made.zip")):
            os.remove(self.path("made.zip"))

    def test_info_zip(self):
        if not have("zip"):
            self.skipTest("Info-ZIP zip missing")
        files = self.sample_tree()
        cases = [("deflate with extra fields and folder entries", ["-r"]),
                 ("stored", ["-r", "-0"]),
                 ("without extra fields", ["-r", "-X"]),
                 ("password", ["-r", "-P", "secret"])]
        for label, flags in cases:
            with self.subTest(label):
                self.fresh_output_and_zip()
                z = self.zip_with(["zip", "-q", *flags, "made.zip", "src"])
                self.check_extracts(z, files)
                self.assertTrue(os.path.isdir(self.path("out", "src", "deep", "a", "b")))

    def test_7zip(self):
        if not have("7zz"):
            self.skipTest("7-Zip missing")
        files = self.sample_tree()
        cases = [("deflate", ["-mm=Deflate"]), ("store", ["-mx0"]),
                 ("ZipCrypto", ["-mm=Deflate", "-psecret", "-mem=ZipCrypto"]),
                 ("ZipCrypto stored", ["-mx0", "-psecret", "-mem=ZipCrypto"])]
        for label, flags in cases:
            with self.subTest(label):
                self.fresh_output_and_zip()
                z = self.zip_with(["7zz", "a", "-bd", "-tzip", *flags, "made.zip", "src"])
                self.check_extracts(z, files)

    def test_python_zipfile(self):
        files = self.sample_tree()
        for label, method in (("deflate", zipfile.ZIP_DEFLATED), ("stored", zipfile.ZIP_STORED)):
            with self.subTest(label):
                shutil.rmtree(self.path("out"))
                os.mkdir(self.path("out"))
                z = self.path("made.zip")
                with zipfile.ZipFile(z, "w", method) as zf:
                    zf.writestr("src/", b"")
                    for rel, data in files.items():
                        zf.writestr("src/" + rel, data)
                self.check_extracts(z, files)

    def test_tovo_pack_archive_with_password_and_folders(self):
        files = self.sample_tree()
        os.mkdir(self.path("src", "empty-folder"))
        for label, options in (("deflate", []), ("store", ["--store"]),
                               ("password", ["--password", "secret"])):
            with self.subTest(label):
                shutil.rmtree(self.path("out"))
                os.mkdir(self.path("out"))
                package = self.pack("--folder", self.path("out"), *options,
                                    inputs=[self.path("src")])
                rc, err = self.run_package(package, answers="secret\n")
                self.assertEqual(rc, SUCCESS, err)
                self.assertEqual(self.files_of(), {os.path.join("src", k): v
                                                   for k, v in files.items()})
                self.assertTrue(os.path.isdir(self.path("out", "src", "empty-folder")))


class StartUp(PackageCase):
    def test_stub_without_payload_is_a_bad_payload(self):
        rc, err = self.run_package(STUB)
        self.assertEqual(rc, FAILURE)
        self.assertIn(BAD_PAYLOAD, err)

    def tail_package(self, archive, *options):
        package = self.pack_bytes(archive, "--folder", self.path("out"), *options)
        return package

    def test_tail_check(self):
        plain = zipcraft.build([zipcraft.entry("a.txt", b"alpha")])
        commented = zipcraft.build([zipcraft.entry("a.txt", b"alpha")], comment=b"a comment")
        only_end = zipcraft.build([])
        cases = [  # label, archive, bytes to add (+) or cut (-), tail check on, message
            ("exact", plain, 0, True, None),
            ("one byte more", plain, +1, True, BAD_PAYLOAD),
            ("one byte less", plain, -1, True, BAD_PAYLOAD),
            ("comment", commented, 0, True, None),
            ("comment cut", commented, -1, True, BAD_PAYLOAD),
            ("end record only", only_end, 0, True, BAD_PAYLOAD),
            ("one byte more, check off", plain, +1, False, None),
            ("a hundred bytes more, check off", plain, +100, False, None),
            # Regression: with the check off a cut package reported success; the end
            # record it cut is where the archive's contents are found.
            ("one byte less, check off", plain, -1, False, READ_ERROR),
            ("comment cut, check off", commented, -1, False, READ_ERROR),
        ]
        for label, archive, change, check, message in cases:
            outcome = SUCCESS if message is None else FAILURE
            with self.subTest(label):
                shutil.rmtree(self.path("out"))
                os.mkdir(self.path("out"))
                options = [] if check else ["--no-size-check"]
                package = self.tail_package(archive, *options)
                with open(package, "r+b") as f:
                    if change > 0:
                        f.seek(0, 2)
                        f.write(b"\0" * change)
                    elif change < 0:
                        f.truncate(os.path.getsize(package) + change)
                rc, err = self.run_package(package)
                self.assertEqual(rc, outcome, err)
                if outcome == FAILURE:
                    self.assertIn(message, err)
                    self.assertEqual(self.tree(), {})
                else:
                    self.assertEqual(self.files_of(), {"a.txt": b"alpha"})

    def test_record_cut_short_is_a_bad_payload(self):
        # Regression: a payload that ends inside the configuration record used to be
        # read as settings from whatever the reads left in the buffers.
        package = self.pack_bytes(zipcraft.build([zipcraft.entry("a.txt", b"a")]),
                                  "--no-size-check", "--caption", "A caption",
                                  "--folder", self.path("out"))
        with open(package, "rb") as f:
            data = f.read()
        for cut in (3, 8, 12, 39424 + 8 + 1 + 9 + 1 + len(self.path("out")) - 39424 - 1):
            with self.subTest(cut=cut):
                with open(package, "wb") as f:
                    f.write(data[:39424 + cut] if os.path.basename(STUB) == "tovo"
                            else data[:os.path.getsize(STUB) + cut])
                rc, err = self.run_package(package)
                self.assertEqual(rc, FAILURE, err)
                self.assertIn(BAD_PAYLOAD, err)

    def test_record_size_shorter_than_its_texts_is_a_bad_payload(self):
        archive = zipcraft.build([zipcraft.entry("a.txt", b"a")])
        package = self.pack_bytes(archive, "--caption", "Caption", "--folder",
                                  self.path("out"))
        stub_size = os.path.getsize(STUB)
        with open(package, "r+b") as f:
            f.seek(stub_size + 6)
            f.write(struct.pack("<H", 9))
        rc, err = self.run_package(package)
        self.assertEqual(rc, FAILURE, err)
        self.assertIn(BAD_PAYLOAD, err)

    def test_startup_message(self):
        archive = zipcraft.build([zipcraft.entry("a.txt", b"alpha")])
        cases = [  # label, type, answers, exit, extracted, shown
            ("ok/cancel answered OK", "okcancel", "ok\n", SUCCESS, True, "Box: Go on? [OK/Cancel]"),
            ("ok/cancel answered Cancel", "okcancel", "cancel\n", DECLINED, False, None),
            ("ok/cancel at end of input", "okcancel", "", DECLINED, False, None),
            ("yes/no answered yes", "yesno", "y\n", SUCCESS, True, "Box: Go on? [Yes/No]"),
            ("yes/no answered No", "yesno", "no\n", DECLINED, False, None),
            ("yes/no empty line takes the default", "yesno", "\n", SUCCESS, True, None),
            ("plain", "plain", "", SUCCESS, True, "Box: Go on?\n"),
        ]
        for label, kind, answers, outcome, extracted, shown in cases:
            with self.subTest(label):
                shutil.rmtree(self.path("out"))
                os.mkdir(self.path("out"))
                package = self.pack_bytes(archive, "--caption", "Box", "--message", "Go on?",
                                          "--message-type", kind, "--folder", self.path("out"))
                rc, err = self.run_package(package, answers)
                self.assertEqual(rc, outcome, err)
                self.assertEqual(self.files_of() != {}, extracted)
                if shown:
                    self.assertIn(shown, err)

    def test_plain_startup_message_waits_for_enter_on_a_terminal(self):
        # Regression: on a terminal a plain start-up message scrolled past unread.
        self.posix_only("a message box waits for its OK anyway")
        archive = zipcraft.build([zipcraft.entry("a.txt", b"alpha")])
        package = self.pack_bytes(archive, "--caption", "Box", "--message", "Read me first.",
                                  "--folder", self.path("out"))

        def nothing_yet():
            time.sleep(0.3)
            self.assertEqual(self.tree(), {})

        self.terminal, terminal = os.openpty()
        try:
            rc, err = self.run_talking(package, [("Box: Read me first. [Enter]", nothing_yet,
                                                  "\n")], stdin=terminal)
        finally:
            os.close(terminal)
            os.close(self.terminal)
        self.assertEqual(rc, SUCCESS, err)
        self.assertEqual(self.files_of(), {"a.txt": b"alpha"})

    def test_startup_message_codes_and_default_caption(self):
        archive = zipcraft.build([zipcraft.entry("a.txt", b"alpha")])
        # Code 5 marks a plain message and is not shown; without a caption the title is
        # PROGRAM.
        package = self.pack_bytes(archive, "--message", "\x05Welcome", "--folder",
                                  self.path("out"))
        rc, err = self.run_package(package)
        self.assertEqual(rc, SUCCESS, err)
        self.assertIn("PROGRAM: Welcome\n", err)

    def test_flags_zero_gives_the_defaults(self):
        # 0x00: confirm policy, tail check on, Finished shown.
        archive = zipcraft.build([zipcraft.entry("a.txt", b"new")])
        self.write("a.txt", b"old", base="out")
        package = self.pack_bytes(archive, "--flags", "0", "--folder", self.path("out"))
        rc, err = self.run_package(package, "n\n")
        self.assertIn("Confirm overwrite of...: a.txt...already exists, overwrite ?", err)
        self.assertEqual(rc, SUCCESS, err)
        self.assertIn(FINISHED, err)
        self.assertEqual(self.files_of(), {"a.txt": b"old"})

    def test_finished_message_can_be_switched_off(self):
        archive = zipcraft.build([zipcraft.entry("a.txt", b"a")])
        package = self.pack_bytes(archive, "--no-finished", "--folder", self.path("out"))
        rc, err = self.run_package(package)
        self.assertEqual((rc, err), (SUCCESS, ""))


class DefaultFolder(PackageCase):
    def run_with_folder(self, folder, registry_lines=None):
        RUNNER.set_registry(self, registry_lines)
        archive = zipcraft.build([zipcraft.entry("a.txt", b"alpha")])
        package = self.pack_bytes(archive, "--folder", folder)
        rc, err = self.run_package(package, cwd=self.path("home"))
        self.assertEqual(rc, SUCCESS, err)

    def private_temp(self):
        """The one folder the package made for itself inside the temporary folder. (On
        Windows every user has a temporary folder of their own, which is used as it is.)"""
        if self.on_windows:
            return self.path("tmp")
        made = os.listdir(self.path("tmp"))
        self.assertEqual(len(made), 1, made)
        self.assertTrue(made[0].startswith("tovo-"))
        folder = self.path("tmp", made[0])
        self.assertEqual(stat.S_IMODE(os.stat(folder).st_mode), 0o700)
        return folder

    def test_folder_forms(self):
        target = self.path("apps")
        os.mkdir(target)
        value = self.native(target)
        tmp = None  # a folder of the package's own inside the temporary folder
        cases = [  # label, folder text, registry lines, where a.txt lands
            ("temporary folder", "><", None, tmp),
            ("registry value with suffix, first of a list",
             "HKLM\\Software\\X\\Dir|Sub", ["HKEY_LOCAL_MACHINE\\Software\\X\\Dir=%s;/other" % value],
             os.path.join(target, "Sub", "a.txt")),
            ("registry names compare without case", "HKCU\\software\\x\\dir",
             ["HKEY_CURRENT_USER\\Software\\X\\Dir=%s" % value], os.path.join(target, "a.txt")),
            ("missing value", "HKLM\\Software\\X\\Nothing", [], tmp),
            ("missing registry file", "HKLM\\Software\\X\\Dir", None, tmp),
            ("root not written in upper case", "HKlm\\Software\\X\\Dir",
             ["HKEY_LOCAL_MACHINE\\Software\\X\\Dir=%s" % value], tmp),
            ("value too short", "HKLM\\Software\\X\\Dir", ["HKLM\\Software\\X\\Dir=/ab"],
             tmp),
            ("form without value name", "HKLM", [], tmp),
        ]
        for label, folder, lines, expected in cases:
            with self.subTest(label):
                self.run_with_folder(folder, lines)
                if expected is None:
                    expected = os.path.join(self.private_temp(), "a.txt")
                self.assertTrue(os.path.isfile(expected), expected)
                shutil.rmtree(self.path("tmp"))
                os.mkdir(self.path("tmp"))
                if os.path.exists(expected):
                    os.remove(expected)

    def test_without_folder_extracts_into_the_current_folder(self):
        self.run_with_folder("")
        self.assertTrue(os.path.isfile(self.path("home", "a.txt")))

    def test_current_folder_that_cannot_be_named(self):
        # Regression: with no default folder and a current folder whose path could not
        # be had, the folder became empty and the entries went under "/". The entry
        # here is named so that such a run would write it into the scratch folder.
        self.posix_only("Windows keeps the current folder from being removed")
        escaped = os.path.join(self.root, "escaped.txt")
        long_folder = self.path("home", *(["d" * 60] * 5))
        os.makedirs(long_folder)
        deleted = self.path("home", "deleted")
        cases = [  # label, make the folder current
            ("deleted", lambda: (os.mkdir(deleted), os.chdir(deleted), os.rmdir(deleted))),
            ("path longer than 259 characters", lambda: os.chdir(long_folder)),
        ]
        archive = zipcraft.build([zipcraft.entry(escaped.lstrip("/"), b"x")])
        package = self.pack_bytes(archive)
        for label, enter in cases:
            with self.subTest(label):
                r = subprocess.run([package], capture_output=True, text=True, env=self.env,
                                   preexec_fn=enter, timeout=60)
                self.assertEqual(r.returncode, FAILURE, r.stderr)
                self.assertIn("Error in directory ..: .\n", r.stderr)
                self.assertFalse(os.path.exists(escaped))

    def test_temporary_folder_is_the_packages_own(self):
        # Regression: "><" extracted straight into the shared temporary folder, so a
        # program another user planted there under the command's name was kept (the
        # overwrite question answers No without a terminal) and started.
        self.posix_only("Windows gives every user a temporary folder of their own")
        self.write("probe.sh", "echo planted > %s\n" % self.path("result"), base="tmp")
        archive = zipcraft.build([zipcraft.entry(
            "probe.sh", ("echo package > %s\n" % self.path("result")).encode())])
        package = self.pack_bytes(archive, "--folder", "><", "--command", "/bin/sh|><probe.sh")
        rc, err = self.run_package(package)
        self.assertEqual(rc, SUCCESS, err)
        for _ in range(100):
            if os.path.exists(self.path("result")):
                break
            time.sleep(0.05)
        with open(self.path("result")) as f:
            self.assertEqual(f.read(), "package\n")
        os.remove(self.path("tmp", "probe.sh"))
        self.assertTrue(os.path.isfile(os.path.join(self.private_temp(), "probe.sh")))
        # A run that extracts nothing leaves no folder behind.
        shutil.rmtree(self.path("tmp"))
        os.mkdir(self.path("tmp"))
        declined = self.pack_bytes(archive, "--folder", "><", "--message", "Go?",
                                   "--message-type", "yesno")
        rc, err = self.run_package(declined, "n\n")
        self.assertEqual(rc, DECLINED, err)
        self.assertEqual(os.listdir(self.path("tmp")), [])


class Overwrite(PackageCase):
    def setUp(self):
        super().setUp()
        self.archive = zipcraft.build([zipcraft.entry(n, b"new " + n.encode())
                                       for n in ("a.txt", "b.txt", "c.txt")])
        for n in ("a.txt", "b.txt", "c.txt"):
            self.write(n, b"old", base="out")

    def test_policies_and_answers(self):
        cases = [  # label, options, answers, questions asked, files overwritten
            ("never", ["--overwrite", "never"], "", 0, ""),
            ("always", ["--overwrite", "always"], "", 0, "abc"),
            ("always with the choice hidden", ["--overwrite", "always", "--hide-overwrite"], "", 0,
             "abc"),
            ("confirm, yes no yes", [], "y\nn\ny\n", 3, "ac"),
            ("confirm, Yes to all", [], "n\nA\n", 2, "bc"),
            ("confirm, No to all", [], "y\nN\n", 2, "a"),
            ("confirm, end of input is No", [], "", 3, ""),
        ]
        for label, options, answers, asked, overwritten in cases:
            with self.subTest(label):
                for n in "abc":
                    self.write(n + ".txt", b"old", base="out")
                package = self.pack_bytes(self.archive, "--folder", self.path("out"), *options)
                rc, err = self.run_package(package, answers)
                self.assertEqual(rc, SUCCESS, err)
                self.assertIn(FINISHED, err)
                self.assertEqual(err.count("Confirm overwrite of..."), asked)
                for n in "abc":
                    want = (b"new " + n.encode() + b".txt") if n in overwritten else b"old"
                    self.assertEqual(self.files_of()[n + ".txt"], want, n)


class Passwords(PackageCase):
    """Encrypted entries with fixed encryption headers, so that which wrong passwords
    pass the one-byte check is known in advance and every run asks the same."""

    def test_password_prompts(self):
        def secret(name, password, **fields):
            return zipcraft.encrypted_entry(name, b"secret data of " + name.encode() * 50,
                                            password, **fields)

        a, b = secret("a", "pw"), secret("b", "pw")
        fails = zipcraft.wrong_passwords(a, passing=False, count=3)
        passes = zipcraft.wrong_passwords(a, passing=True)[0]
        two = secret("b", "two")
        # A first password that also passes the check of the entry after it.
        one = zipcraft.wrong_passwords(two, passing=True, prefix="one")[0]
        damaged = secret("a", "pw", crc=0x12345678)
        plain = zipcraft.entry("c", b"plain")
        cases = [  # label, entries, answers, prompts, exit, extracted names
            ("remembered for the next entry", [a, b], ["pw"], 1, SUCCESS, {"a", "b"}),
            ("wrong then right", [a], [fails[0], "pw"], 2, SUCCESS, {"a"}),
            ("a different password asks again", [secret("a", "one"), two], ["one", "two"], 2,
             SUCCESS, {"a", "b"}),
            ("three wrong stop silently", [a, b], fails + ["pw"], 3, FAILURE, set()),
            ("end of input", [a], [], 3, FAILURE, set()),
            ("check byte from the time, as with a data descriptor",
             [secret("a", "pw", check="time")], ["pw"], 1, SUCCESS, {"a"}),
            # Regression: a wrong password that passed the one-byte check (one try in 256)
            # failed the entry's CRC and the run ended with the entry not extracted.
            ("wrong password passing the check, then right", [a], [passes, "pw"], 2, SUCCESS,
             {"a"}),
            ("remembered password passing the next entry's check", [secret("a", one), two],
             [one, "two"], 2, SUCCESS, {"a", "b"}),
            ("three wrong, one passing the check", [a], [fails[0], passes, fails[1], "pw"], 3,
             FAILURE, set()),
            ("the same password twice: the entry is damaged", [damaged, plain], ["pw", "pw"],
             2, FAILURE, {"c"}),
        ]
        for label, entries, answers, prompts, outcome, extracted in cases:
            with self.subTest(label):
                shutil.rmtree(self.path("out"))
                os.mkdir(self.path("out"))
                package = self.pack_bytes(zipcraft.build(entries), "--folder", self.path("out"))
                rc, err = self.run_package(package, "".join(x + "\n" for x in answers))
                self.assertEqual(rc, outcome, err)
                self.assertEqual(err.count("Enter password...:"), prompts, err)
                self.assertEqual(set(self.files_of()), extracted)
                for e in entries:
                    if e["name"].decode() in extracted:
                        self.assertEqual(self.files_of()[e["name"].decode()], e["data"])
                # Three wrong passwords end the run without a word; a damaged entry is
                # reported.
                self.assertEqual(INCOMPLETE in err, outcome == FAILURE and bool(extracted))


class Entries(PackageCase):
    def run_archive(self, entries, answers="", *options):
        package = self.pack_bytes(zipcraft.build(entries), "--folder", self.path("out"),
                                  *options)
        return self.run_package(package, answers)

    def test_names_that_differ_only_by_case_are_two_files(self):
        # Regression: the name search ignored case, so of xt_CONNMARK.h and a later,
        # non-adjacent xt_connmark.h (as in Linux's headers) the second was never
        # extracted. On Windows the two name one file: the second one asks first (the
        # search found the entry already done, and the run ended as failed).
        names = ["x/xt_CONNMARK.h", "x/other.h", "x/xt_connmark.h", "x/zzz.h"]
        rc, err = self.run_archive([zipcraft.entry(n, n.encode()) for n in names], "y\n")
        self.assertEqual(rc, SUCCESS, err)
        if self.on_windows:
            self.assertIn("Confirm overwrite of...: xt_connmark.h...already exists", err)
            files = {k.lower(): v for k, v in self.files_of().items()}
            self.assertEqual(files, {"x/xt_connmark.h": b"x/xt_connmark.h",
                                     "x/other.h": b"x/other.h", "x/zzz.h": b"x/zzz.h"})
        else:
            self.assertEqual(self.files_of(), {n: n.encode() for n in names})

    def test_names_become_utf8(self):
        # Regression: names without the UTF-8 flag were written as their raw bytes, so
        # names from Windows archives became file names that are not UTF-8.
        self.posix_only("the Windows stub takes names in the ANSI code page")
        dos, unix = zipcraft.MADE_BY_DOS, zipcraft.MADE_BY_UNIX
        cases = [  # label, stored name, flags, made by, central extra, file name
            ("code page 437 from a DOS system", b"caf\x82.txt", 0, dos, b"", "café.txt"),
            ("box drawing characters", b"\xc9\xcd\xbb.txt", 0, dos, b"", "╔═╗.txt"),
            ("code page 437 from NTFS", b"\x9b.txt", 0, (11 << 8) | 20, b"", "¢.txt"),
            ("marked as UTF-8", "café.txt".encode(), 0x800, dos, b"", "café.txt"),
            ("UTF-8 from a Unix system, unmarked", "café.txt".encode(), 0, unix, b"",
             "café.txt"),
            ("no UTF-8 from a Unix system", b"caf\xe9.txt", 0, unix, b"", "cafΘ.txt"),
            ("Info-ZIP's Unicode path field", b"cafe.txt", 0, dos,
             zipcraft.unicode_path_field(b"cafe.txt", "café.txt"), "café.txt"),
            ("a Unicode path field for another name", b"cafe.txt", 0, dos,
             zipcraft.unicode_path_field(b"other.txt", "café.txt"), "cafe.txt"),
        ]
        for label, stored, flags, made_by, extra, expected in cases:
            with self.subTest(label):
                shutil.rmtree(self.path("out"))
                os.mkdir(self.path("out"))
                e = zipcraft.entry(stored, b"x", flags=flags, made_by=made_by,
                                   central_extra=extra)
                rc, err = self.run_archive([e])
                self.assertEqual(rc, SUCCESS, err)
                self.assertEqual(os.listdir(self.path("out").encode()), [expected.encode()])

    def test_control_characters_in_names_are_shown_escaped(self):
        # Regression: names reached the terminal raw, so a name could clear the screen,
        # set the window title or fake a line of its own.
        self.posix_only("a message box is no terminal")
        tricks = ["a\x1b[31mred.txt", "b\nFinished.: All files have been extracted.",
                  "c\x9b2J.txt"]
        for name in tricks:
            self.write(name, b"old", base="out")
        entries = [zipcraft.entry(n, b"new", flags=0x800) for n in tricks]
        entries.append(zipcraft.entry("../\x1b]0;title\x07", b"x"))
        rc, err = self.run_archive(entries, "n\n" * 2)
        self.assertEqual(rc, FAILURE, err)
        for raw in ("\x1b", "\x07", "\x9b"):
            self.assertNotIn(raw, err)
        self.assertIn("Confirm overwrite of...: a\\x1b[31mred.txt...", err)
        self.assertIn("Invalid filename. b\\x0aFinished.", err)  # the ":" is refused
        self.assertIn("Confirm overwrite of...: c\\xc2\\x9b2J.txt", err)
        self.assertIn("Invalid filename. ../\\x1b]0;title\\x07", err)
        self.assertNotIn("\nFinished.", err)

    def test_file_time_is_the_local_time_of_the_header(self):
        # 2020-05-06 10:00:00 as DOS date and time.
        date = (2020 - 1980) << 9 | 5 << 5 | 6
        tm = 10 << 11
        # A zone away from UTC, so that a time taken as UTC shows.
        self.env["TZ"] = "EST5EDT,M3.2.0,M11.1.0"
        rc, err = self.run_archive([zipcraft.entry("t.txt", b"t", dos_date=date, dos_time=tm)])
        self.assertEqual(rc, SUCCESS, err)
        saved = os.environ.get("TZ")
        os.environ["TZ"] = self.env["TZ"]
        time.tzset()
        try:
            local = time.localtime(os.stat(self.path("out", "t.txt")).st_mtime)
        finally:
            if saved is None:
                del os.environ["TZ"]
            else:
                os.environ["TZ"] = saved
            time.tzset()
        self.assertEqual(local[:6], (2020, 5, 6, 10, 0, 0))

    def test_extra_field_and_data_descriptor_are_passed_over(self):
        entries = [zipcraft.entry("a.txt", b"alpha" * 100, extra=b"\x55\x54\x05\x00\x01abcd",
                                  descriptor=True, flags=0x08),
                   zipcraft.entry("b.txt", b"beta", method=0, descriptor=True, flags=0x08)]
        rc, err = self.run_archive(entries)
        self.assertEqual(rc, SUCCESS, err)
        self.assertEqual(self.files_of(), {"a.txt": b"alpha" * 100, "b.txt": b"beta"})

    def test_failed_entries_leave_earlier_files_alone(self):
        # Regression: a failed entry used to leave a broken file under its name,
        # overwriting a good earlier one.
        good = zipcraft.entry("ok.txt", b"fine")
        cases = [  # label, entry, message
            ("CRC mismatch", zipcraft.entry("f.txt", b"new data", crc=0x12345678), INCOMPLETE),
            ("corrupt data", zipcraft.entry("f.txt", b"new data" * 99,
                                            packed=b"\xff" * 40), INCOMPLETE),
            ("data cut short", zipcraft.entry("f.txt", os.urandom(3000),
                                              packed=zipcraft.deflate(os.urandom(3000))[:100]),
             INCOMPLETE),
            ("unknown method", zipcraft.entry("f.txt", b"new data", method=12),
             "Error..: Unknown compression type"),
            # Regression: AES-encrypted entries were asked a password for three times.
            ("AES encryption, before any password", zipcraft.aes_entry("f.txt", b"new data"),
             "Error..: Unknown compression type"),
        ]
        for label, bad, message in cases:
            with self.subTest(label):
                shutil.rmtree(self.path("out"))
                os.mkdir(self.path("out"))
                self.write("f.txt", b"precious", base="out")
                rc, err = self.run_archive([good, bad], "", "--overwrite", "always")
                self.assertEqual(rc, FAILURE, err)
                self.assertIn(message, err)
                self.assertNotIn("Enter password", err)
                self.assertEqual(self.files_of(), {"ok.txt": b"fine", "f.txt": b"precious"})
                self.assertNoTempFiles()

    def test_output_is_held_to_what_the_archive_declares(self):
        # Regression: write failures went unchecked and the size was not compared for
        # entries with flag bit 3 (every Info-ZIP encrypted entry has it), so on a full
        # disk a cut file was reported as extracted; and an entry that declared 10 bytes
        # wrote all its data (a gigabyte from a megabyte) before its CRC failed.
        big = os.urandom(3 << 20)
        bomb = zipcraft.entry("bomb.txt", b"ten bytes.", packed=zipcraft.deflate(bytes(200 << 20)))
        cases = [  # label, entry, answers, file size limit, SIGXFSZ ignored
            ("full disk, encrypted with a data descriptor",
             zipcraft.encrypted_entry("big.bin", big, "pw", method=0, check="time"), "pw\n",
             1 << 20, True),
            ("full disk, deflated", zipcraft.entry("big.bin", big), "", 1 << 20, True),
            ("full disk, end of the process by SIGXFSZ", zipcraft.entry("big.bin", big), "",
             1 << 20, False),
            ("a megabyte that declares ten bytes", bomb, "", 1 << 20, False),
        ]
        for label, e, answers, limit, ignored in cases:
            if self.on_windows and not ignored:
                continue  # Windows has no signals
            with self.subTest(label):
                shutil.rmtree(self.path("out"))
                os.mkdir(self.path("out"))
                package = self.pack_bytes(zipcraft.build([e, zipcraft.entry("ok", b"k")]),
                                          "--folder", self.path("out"))
                rc, err = self.run_package(package, answers, file_size_limit=limit,
                                           ignore_sigxfsz=ignored)
                self.assertEqual(rc, FAILURE, err)
                self.assertIn(INCOMPLETE, err)
                self.assertEqual(self.files_of(), {"ok": b"k"})

    def test_encrypted_entry_shorter_than_its_header_is_not_extracted(self):
        # Regression: an encrypted entry whose compressed size is below the 12-byte
        # encryption header decoded to nothing, matched a zero CRC and was counted as
        # extracted.
        e = zipcraft.entry("e.txt", b"", method=0, flags=0x01, crc=0,
                           packed=zipcraft.zipcrypto_header("pw", 0))
        archive = bytearray(zipcraft.build([e]))
        archive[18:22] = struct.pack("<I", 5)  # compressed size in the local header
        package = self.pack_bytes(bytes(archive), "--no-size-check", "--folder",
                                  self.path("out"))
        rc, err = self.run_package(package, "pw\n")
        self.assertEqual(rc, FAILURE, err)
        self.assertNotIn("e.txt", self.files_of())
        self.assertNoTempFiles()

    def test_unsafe_names_are_never_written(self):
        # Regression: names reaching outside the extraction folder were joined to it as
        # they stood.
        names = ["../escape.txt", "/abs.txt", "C:drive.txt", "sub\\..\\..\\back.txt",
                 "sub/../../up.txt", "..\\win.txt", "a:stream.txt"]
        if self.on_windows:
            # Devices, streams and names Windows would change.
            names += ["CON", "nul.txt", "sub/aux.c", "COM1.log", "LPT9", "CONIN$",
                      "ok.txt::$DATA", "\\\\server\\share\\x.txt", "trailing.", "blank ",
                      "what?.txt", "star*.txt", "pipe|.txt"]
        entries = [zipcraft.entry(n, b"x") for n in names] + [zipcraft.entry("sub/ok.txt", b"ok")]
        os.mkdir(self.path("out", "inner"))
        package = self.pack_bytes(zipcraft.build(entries), "--folder", self.path("out", "inner"))
        rc, err = self.run_package(package)
        self.assertEqual(rc, FAILURE, err)
        self.assertIn(INCOMPLETE, err)
        for n in names:
            self.assertIn("Invalid filename. " + self.shown_name(n), err)
        self.assertEqual(self.files_of(), {"inner/sub/ok.txt": b"ok"})
        self.assertEqual(os.listdir(self.root).count("abs.txt"), 0)
        self.assertFalse(os.path.exists("/abs.txt"))

    def test_links_not_made_by_the_package_are_not_followed(self):
        elsewhere = self.path("elsewhere")
        os.mkdir(elsewhere)
        os.symlink(elsewhere, self.path("out", "link"))
        os.symlink(os.path.join(elsewhere, "target.txt"), self.path("out", "file-link"))
        entries = [zipcraft.entry("link/x.txt", b"x"), zipcraft.entry("link/deeper/y.txt", b"y"),
                   zipcraft.entry("file-link", b"replaced"), zipcraft.entry("z.txt", b"z")]
        rc, err = self.run_archive(entries, "", "--overwrite", "always")
        self.assertEqual(rc, FAILURE, err)
        self.assertIn("Cannot open file ..: " + self.native(self.path("out", "link", "x.txt")),
                      err)
        self.assertEqual(os.listdir(elsewhere), [])
        # The package's own file replaces the link instead of writing through it.
        self.assertFalse(os.path.islink(self.path("out", "file-link")))
        self.assertEqual(self.files_of()["file-link"], b"replaced")

    def test_folder_swapped_for_a_link_during_the_run_is_not_written_through(self):
        # Regression: the check for links was made before the questions and kept for the
        # folder, so a folder swapped for a link while a question was open (or between
        # entries) was written through.
        self.not_yet_on_windows("the Windows back end checks a folder for links only as "
                                "it opens it")
        elsewhere = self.path("elsewhere")
        os.mkdir(elsewhere)

        def swap():
            os.rename(self.path("out", "sub"), self.path("out", "sub.old"))
            os.symlink(elsewhere, self.path("out", "sub"))

        first = zipcraft.entry("sub/first.txt", b"first")
        second = zipcraft.entry("sub/second.txt", b"second")
        secret = zipcraft.encrypted_entry("sub/second.txt", b"second", "pw")
        cases = [  # label, entries, second.txt there before, steps (prompt, action, answer)
            ("while the overwrite question is open", [first, second], True,
             [("Confirm overwrite of...: second.txt", swap, "y\n")]),
            ("between entries, while the password question is open", [first, secret], False,
             [("Enter password...", swap, "pw\n")]),
        ]
        for label, entries, existing, steps in cases:
            with self.subTest(label):
                for folder in ("out", "elsewhere"):
                    shutil.rmtree(self.path(folder))
                    os.mkdir(self.path(folder))
                os.mkdir(self.path("out", "sub"))
                if existing:
                    self.write("sub/second.txt", b"old", base="out")
                package = self.pack_bytes(zipcraft.build(entries), "--folder", self.path("out"))
                rc, err = self.run_talking(package, steps)
                self.assertEqual(os.listdir(elsewhere), [])
                self.assertEqual(rc, SUCCESS, err)
                # The run went on in the folder it had opened.
                self.assertEqual(self.files_of()["sub.old/second.txt"], b"second")

    def test_long_names_are_refused(self):
        # Regression: names longer than the 258-byte name buffer overflowed it.
        long_name = "d/" + "n" * 300
        rc, err = self.run_archive([zipcraft.entry(long_name, b"x"), zipcraft.entry("ok", b"k")])
        self.assertEqual(rc, FAILURE, err)
        self.assertIn("Invalid filename. ", err)
        self.assertEqual(self.files_of(), {"ok": b"k"})

    def test_path_too_long_for_the_folder_is_refused(self):
        deep = self.path("out", *(["f" * 50] * 4))
        os.makedirs(deep)
        package = self.pack_bytes(zipcraft.build([zipcraft.entry("n" * 120, b"x")]),
                                  "--folder", deep)
        rc, err = self.run_package(package)
        self.assertEqual(rc, FAILURE, err)
        self.assertIn("Invalid filename. ", err)

    def test_paths_up_to_the_limit_work(self):
        # Regression: a short name in a folder of 250 characters was refused, because
        # the temporary file's path beside it did not fit the limit.
        self.not_yet_on_windows("the temporary file beside a path of nearly 260 characters "
                                "does not fit MAX_PATH")
        cases = [  # label, folder length, name, extracted
            ("short name in a long folder", 250, "a", True),
            ("path of exactly 260 characters", 250, "n" * 9, True),
            ("path of 261 characters", 250, "n" * 10, False),
            ("path of 260 characters with a folder in the name", 240, "d/" + "n" * 17, True),
        ]
        for label, length, name, extracted in cases:
            with self.subTest(label):
                shutil.rmtree(self.path("out"))
                folder = self.path("out")
                # The length counts as the stub sees the path ("Z:" more under Wine).
                length -= len(self.native(folder)) - len(folder)
                while len(folder) < length:
                    folder = os.path.join(folder, "f" * min(50, length - len(folder) - 1))
                self.assertEqual(len(folder), length)
                os.makedirs(folder)
                package = self.pack_bytes(zipcraft.build([zipcraft.entry(name, b"x")]),
                                          "--folder", folder)
                rc, err = self.run_package(package)
                self.assertEqual(rc, SUCCESS if extracted else FAILURE, err)
                self.assertEqual(os.path.isfile(os.path.join(folder, name)), extracted)
                if not extracted:
                    self.assertIn("Invalid filename. " + name, err)

    def test_empty_name_stops_the_walk(self):
        rc, err = self.run_archive([zipcraft.entry("", b"x")])
        self.assertEqual(rc, FAILURE, err)
        self.assertIn("Error..: Invalid filename.", err)

    def test_folder_entries_and_existing_folder_question(self):
        os.mkdir(self.path("out", "exists"))
        rc, err = self.run_archive([zipcraft.entry("exists/", method=0),
                                    zipcraft.entry("new/", method=0)], "y\n")
        self.assertEqual(rc, SUCCESS, err)
        # An existing folder is asked about, with an empty name.
        self.assertIn("Confirm overwrite of...: ...already exists, overwrite ?", err)
        self.assertTrue(os.path.isdir(self.path("out", "new")))

    def test_file_where_a_folder_is_needed(self):
        self.write("blocker", b"a file", base="out")
        rc, err = self.run_archive([zipcraft.entry("blocker/x.txt", b"x")])
        self.assertEqual(rc, FAILURE, err)
        self.assertIn("Error in directory ..: " + self.native(self.path("out", "blocker")), err)

    def test_streamed_entry_without_sizes_is_not_reported_as_extracted(self):
        # Regression: a deflated entry whose sizes were left to a data descriptor decoded
        # to nothing, matched its zero CRC and was counted as extracted (an empty file).
        data = b"streamed" * 100
        e = zipcraft.entry("s.txt", data, flags=0x08)
        packed = e["packed"]
        e.update(crc=0, packed=b"", data=b"")
        archive = zipcraft.build([e])
        archive = archive[:30 + 5] + packed + struct.pack(
            "<IIII", 0x08074B50, zlib.crc32(data), len(packed), len(data)) + archive[30 + 5:]
        package = self.pack_bytes(archive, "--no-size-check", "--folder", self.path("out"))
        rc, err = self.run_package(package)
        self.assertEqual(rc, FAILURE, err)
        self.assertNotIn("s.txt", self.files_of())


class Unseekable(io.RawIOBase):
    """A pipe as zipfile sees one: it can be written, not told or sought."""

    def __init__(self):
        self.data = bytearray()

    def writable(self):
        return True

    def write(self, b):
        self.data += b
        return len(b)

    def tell(self):
        raise OSError("not seekable")


def end_record_at(archive):
    return archive.rindex(b"PK\5\6")


def patched(archive, offset, fmt, value):
    out = bytearray(archive)
    struct.pack_into(fmt, out, offset, value)
    return bytes(out)


class Directory(PackageCase):
    """The central directory says what the archive holds; the walk reaches every entry
    it lists, or the archive counts as damaged and nothing is extracted."""

    FILES = {"a.txt": b"alpha" * 300, "b.bin": bytes(range(256)) * 40, "c.txt": b"gamma"}

    def entries(self, **fields):
        return [zipcraft.entry(n, d, method=8 if n != "b.bin" else 0, **fields)
                for n, d in self.FILES.items()]

    def python_pipe(self):
        pipe = Unseekable()
        with zipfile.ZipFile(pipe, "w") as z:
            for name, data in self.FILES.items():
                z.writestr(zipfile.ZipInfo(name, (2020, 1, 2, 3, 4, 6)), data,
                           zipfile.ZIP_STORED if name != "b.bin" else zipfile.ZIP_DEFLATED)
        return bytes(pipe.data)

    def check(self, cases):
        for label, archive, outcome in cases:
            with self.subTest(label):
                shutil.rmtree(self.path("out"))
                os.mkdir(self.path("out"))
                package = self.pack_bytes(archive, "--folder", self.path("out"),
                                          "--no-size-check")
                rc, err = self.run_package(package)
                if outcome is None:  # extracted exactly as the directory says
                    self.assertEqual(rc, SUCCESS, err)
                    self.assertEqual(self.files_of(), self.FILES)
                else:
                    self.assertEqual(rc, FAILURE, err)
                    self.assertIn(outcome, err)
                    self.assertEqual(self.tree(), {})

    def test_entries_whose_sizes_follow_their_data(self):
        # Regression: the walk took anything that was not a local header for the end of
        # the archive: of a pipe-written archive the first file came out empty and the
        # rest were never seen, and success was reported.
        plain = zipcraft.build(self.entries())
        wrong_size = patched(plain, 18, "<I", struct.unpack_from("<I", plain, 18)[0] + 7)
        self.check([  # label, archive, message (None: extracted)
            ("Python's zipfile writing to a pipe", self.python_pipe(), None),
            ("data descriptors with their signature",
             zipcraft.build(self.entries(streamed=True)), None),
            ("data descriptors without their signature",
             zipcraft.build(self.entries(streamed=True, descriptor_signature=False)), None),
            ("one wrong compressed size in a local header", wrong_size, READ_ERROR),
        ])

    def test_directory_that_disagrees_with_the_local_headers(self):
        # Regression: such archives were extracted as their local headers said, without
        # a word, and an archive whose comment held another zip gave an entry of that.
        plain = zipcraft.build(self.entries())
        end = end_record_at(plain)
        central = struct.unpack_from("<I", plain, end + 16)[0]
        second = plain.index(b"PK\3\4", 1)
        gap = plain[:second] + b"\0" * 10 + plain[second:central]
        gap_records = bytearray(plain[central:end])
        for at in range(len(gap_records) - 4):
            if gap_records[at:at + 4] == b"PK\1\2":
                offset = struct.unpack_from("<I", gap_records, at + 42)[0]
                if offset >= second:
                    struct.pack_into("<I", gap_records, at + 42, offset + 10)
        gap += bytes(gap_records) + patched(plain[end:], 16, "<I", central + 10)
        inner = zipcraft.build([zipcraft.entry("evil.txt", b"not in the archive")])
        with_comment = zipcraft.build(self.entries(), comment=inner)
        short_comment = patched(with_comment, end_record_at(with_comment[:-len(inner)]) + 20,
                                "<H", 0)
        renamed = bytearray(plain)
        renamed[30:35] = b"x.txt"
        self.check([  # label, archive, message (None: extracted)
            ("a gap before a local header", gap, None),
            ("a comment holding another zip", with_comment, None),
            ("the end record's comment length leaves the inner zip's record last",
             short_comment, READ_ERROR),
            ("a gap before the end record", plain[:end] + b"\0" * 4 + plain[end:], READ_ERROR),
            ("directory offset off by one", patched(plain, end + 16, "<I", central + 1),
             READ_ERROR),
            ("one entry fewer counted",
             patched(patched(plain, end + 8, "<H", 2), end + 10, "<H", 2), READ_ERROR),
            ("compressed size larger in the directory",
             patched(plain, central + 20, "<I", struct.unpack_from("<I", plain, central + 20)[0]
                     + 1), READ_ERROR),
            ("CRC differs in the local header",
             patched(plain, 14, "<I", struct.unpack_from("<I", plain, 14)[0] ^ 1), READ_ERROR),
            ("local header names another entry", bytes(renamed), READ_ERROR),
            ("local header signature broken", patched(plain, second, "<I", 0x04034B51),
             READ_ERROR),
            ("directory header signature broken", patched(plain, central, "<I", 0x02014B51),
             READ_ERROR),
            ("an entry listed twice", plain[:end] + plain[central:central + 46 + 5] +
             patched(patched(plain[end:], 8, "<H", 4), 10, "<H", 4)[:12] +
             struct.pack("<I", end - central + 51) + plain[end + 16:], READ_ERROR),
        ])


class Interrupted(PackageCase):
    """Failing closes and runs ended by a signal leave nothing half done behind."""

    def setUp(self):
        super().setUp()
        self.posix_only("signals, terminals and the fault shim are POSIX's")

    def test_a_file_whose_close_fails_is_reported_and_not_put_in_place(self):
        # Regression: a failed close was never reported ("Cannot close the file" could not
        # appear), and the file was put in place as if it were whole.
        self.use_shim(TOVO_SHIM_FAIL_CLOSE="1")
        package = self.pack_bytes(zipcraft.build([zipcraft.entry("a.txt", b"a")]),
                                  "--folder", self.path("out"))
        rc, err = self.run_package(package)
        self.assertEqual(rc, FAILURE, err)
        self.assertIn("Cannot close the file: " + self.path("out", "a.txt"), err)
        self.assertIn(INCOMPLETE, err)
        self.assertEqual(self.tree(), {})

    def test_password_question_ended_by_a_signal_gives_the_echo_back(self):
        # Regression: Ctrl-C at the password question left the terminal without echo.
        secret = zipcraft.encrypted_entry("s.txt", b"secret", "pw")
        package = self.pack_bytes(zipcraft.build([secret]), "--folder", self.path("out"))
        for sig in (signal.SIGINT, signal.SIGTERM, signal.SIGHUP):
            with self.subTest(sig.name):
                self.terminal, terminal = os.openpty()
                try:
                    p = subprocess.Popen([package], stdin=terminal, stderr=subprocess.PIPE,
                                         cwd=self.root, env=self.env)
                    seen = b""
                    while b"Enter password" not in seen:
                        ready, _, _ = select.select([p.stderr], [], [], 30)
                        chunk = os.read(p.stderr.fileno(), 4096) if ready else b""
                        self.assertTrue(chunk, seen)
                        seen += chunk
                    for _ in range(600):  # until it reads without echo
                        if not termios.tcgetattr(terminal)[3] & termios.ECHO:
                            break
                        time.sleep(0.05)
                    else:
                        self.fail("the echo was never switched off")
                    p.send_signal(sig)
                    self.assertEqual(p.wait(timeout=30), -sig)
                    p.stderr.close()
                    self.assertTrue(termios.tcgetattr(terminal)[3] & termios.ECHO)
                finally:
                    os.close(terminal)
                    os.close(self.terminal)

    def test_run_ended_by_a_signal_leaves_no_temporary_file(self):
        # Regression: a run ended while an entry was written left its hidden temporary
        # file behind.
        self.use_shim(TOVO_SHIM_SLOW_WRITE="1")
        big = zipcraft.entry("big.bin", bytes(range(256)) * 4096, method=0)
        package = self.pack_bytes(zipcraft.build([big]), "--folder", self.path("out"))
        for sig in (signal.SIGINT, signal.SIGTERM):
            with self.subTest(sig.name):
                p = subprocess.Popen([package], stdin=subprocess.DEVNULL,
                                     stderr=subprocess.DEVNULL, cwd=self.root, env=self.env)
                for _ in range(600):
                    if any(".tovo-" in n for n in os.listdir(self.path("out"))):
                        break
                    time.sleep(0.05)
                else:
                    self.fail("no temporary file appeared")
                p.send_signal(sig)
                self.assertEqual(p.wait(timeout=30), -sig)
                self.assertEqual(os.listdir(self.path("out")), [])


class UserOptions(PackageCase):
    """What a person types to look at a package before running it."""

    def setUp(self):
        super().setUp()
        self.posix_only("the Windows stub reads no arguments")
        self.entries = [zipcraft.entry("docs/", method=0), zipcraft.entry("docs/a.txt", b"alpha"),
                        zipcraft.entry("big.bin", bytes(70000), method=0)]
        # A package with a start-up question and a command, neither of which --help,
        # --list or --check may bring up.
        self.package = self.pack_bytes(zipcraft.build(self.entries), "--folder", self.path("out"),
                                       "--message", "Go on?", "--message-type", "yesno",
                                       "--command", "/bin/sh|-c 'echo ran > %s'" % self.path("ran"))

    def run_with(self, *args, answers="", package=None):
        out = []
        rc, err = self.run_package(package or self.package, answers, args=args, output=out)
        return rc, out[0], err

    def test_looking_writes_nothing(self):
        listing = "         0  docs/\n         5  docs/a.txt\n     70000  big.bin\n"
        cases = [  # label, arguments, exit, standard output (a part of it), messages
            ("help", ["--help"], SUCCESS, "--target FOLDER  extract into FOLDER instead", ""),
            ("short help", ["-h"], SUCCESS, "usage: PACKAGE", ""),
            ("list", ["--list"], SUCCESS, listing, ""),
            ("check", ["--check"], SUCCESS, "", "Finished.: All files are intact.\n"),
            ("help wins", ["--check", "--list", "--help"], SUCCESS, "usage", ""),
            ("list before check", ["--check", "--list"], SUCCESS, listing, ""),
        ]
        for label, args, outcome, stdout, stderr in cases:
            with self.subTest(label):
                rc, out, err = self.run_with(*args)
                self.assertEqual(rc, outcome, err)
                self.assertIn(stdout, out)
                self.assertEqual(err, stderr)
                self.assertEqual(self.tree(), {})
                self.assertFalse(os.path.exists(self.path("ran")))

    def test_list_and_check_find_damage(self):
        names = ["d\x1bx.txt", "crc.txt"]
        damaged = self.pack_bytes(zipcraft.build([zipcraft.entry(names[0], b"x"),
                                                  zipcraft.entry(names[1], b"y", crc=1)]))
        rc, out, err = self.run_with("--list", package=damaged)
        self.assertEqual((rc, out), (SUCCESS, "         1  d\\x1bx.txt\n         1  crc.txt\n"))
        rc, out, err = self.run_with("--check", package=damaged)
        self.assertEqual(rc, FAILURE, err)
        self.assertEqual(err, "Error..: Damaged file. crc.txt\n" + INCOMPLETE + "\n")
        broken = self.pack_bytes(zipcraft.build(self.entries)[:-30] + b"\0" * 30,
                                 "--no-size-check")
        for option in ("--list", "--check"):
            with self.subTest(option):
                rc, out, err = self.run_with(option, package=broken)
                self.assertEqual(rc, FAILURE, err)
                self.assertIn(READ_ERROR, err)
        self.assertEqual(self.tree(), {})

    def test_check_asks_for_passwords(self):
        secret = zipcraft.encrypted_entry("s.txt", b"secret", "pw")
        package = self.pack_bytes(zipcraft.build([secret]))
        for answers, outcome in (("pw\n", SUCCESS), ("x\ny\nz\n", FAILURE)):
            with self.subTest(answers):
                rc, out, err = self.run_with("--check", answers=answers, package=package)
                self.assertEqual(rc, outcome, err)
        self.assertEqual(self.tree(), {})

    def test_target_folder(self):
        os.mkdir(self.path("home", "given"))
        cases = [  # label, --target as given, the folder it names
            ("absolute", self.path("elsewhere"), self.path("elsewhere")),
            ("relative to the current folder", "given", self.path("home", "given")),
        ]
        for label, given, folder in cases:
            with self.subTest(label):
                r = subprocess.run([self.package, "--target", given], input="y\n",
                                   capture_output=True, text=True, cwd=self.path("home"),
                                   env=self.env, timeout=60)
                self.assertEqual(r.returncode, SUCCESS, r.stderr)
                self.assertIn("Go on? [Yes/No]", r.stderr)
                self.assertIn(FINISHED + folder + "\n", r.stderr)
                self.assertTrue(os.path.isfile(os.path.join(folder, "docs", "a.txt")))
                self.assertEqual(self.tree(), {})
        rc, out, err = self.run_with("--target")
        self.assertEqual((rc, err), (FAILURE, "Error..: --target needs a folder\n"))

    def test_unknown_arguments_change_nothing(self):
        for args in ([], ["--bogus"], ["/S", "x y"], ["--list-files"]):
            with self.subTest(args):
                shutil.rmtree(self.path("out"))
                os.mkdir(self.path("out"))
                rc, out, err = self.run_with(*args, answers="y\n")
                self.assertEqual(rc, SUCCESS, err)
                self.assertIn(FINISHED + self.path("out"), err)
                self.assertEqual(self.files_of()["docs/a.txt"], b"alpha")


class Command(PackageCase):
    def probe(self, base="out"):
        """An executable in the extraction folder that records its arguments and
        working folder; returns its name and the file it writes."""
        result = self.path("result")
        if self.on_windows:
            shutil.copy(PROBE, self.path(base, "probe.exe"))
            self.env["TOVO_PROBE_RESULT"] = self.native(result)
            return "probe.exe", result
        script = "#!/bin/sh\n{ pwd; for a in \"$@\"; do echo \"$a\"; done; } > %s.tmp\nmv %s.tmp %s\n" % (
            result, result, result)
        p = self.write("probe.sh", script, base=base)
        os.chmod(p, 0o755)
        return "probe.sh", result

    def test_placeholder_in_both_parts(self):
        # Regression: the placeholder was put into the parameter part before it was
        # split into words, so a folder with blanks became several words.
        archive = zipcraft.build([zipcraft.entry("data.txt", b"d")])
        folders = [("plain folder", "out")]
        if not self.on_windows:
            # On Windows a folder with blanks still splits a parameter into words, and no
            # Windows name holds a quote.
            folders += [("folder with blanks", "my kit  folder"),
                        ("folder with a quote", 'say "hi"')]
        for label, folder in folders:
            with self.subTest(label):
                os.makedirs(self.path(folder), exist_ok=True)
                if os.path.exists(self.path("result")):
                    os.remove(self.path("result"))
                probe, result = self.probe(folder)
                package = self.pack_bytes(
                    archive, "--folder", self.path(folder), "--overwrite", "never",
                    "--command", '><%s|><data.txt "two words" plain "in ><quotes"' % probe)
                rc, err = self.run_package(package)
                self.assertEqual(rc, SUCCESS, err)
                inside = self.native(self.path(folder)) + RUNNER.separator
                self.assertEqual(self.wait_for(result),
                                 [self.native(self.path(folder)), inside + "data.txt",
                                  "two words", "plain", "in " + inside + "quotes"])

    def test_commands_that_cannot_start(self):
        archive = zipcraft.build([zipcraft.entry("setup.inf", b"[Version]\n"),
                                  zipcraft.entry("tool.sh", b"#!/bin/sh\n")])
        # An INF file is handed to the system's installer on Windows; elsewhere it is
        # started itself, and is not executable.
        cases = [  # label, command, exit
            ("INF file", "><SETUP.Inf", SUCCESS if self.on_windows else NO_COMMAND),
            ("program part of four characters", "a.ex", NO_COMMAND),
            ("missing program", "/nonexistent/program", NO_COMMAND),
            ("no command", "", SUCCESS),
        ]
        env_path = self.env["PATH"]
        self.env["PATH"] = "/nonexistent"  # no xdg-open either
        try:
            for label, command, outcome in cases:
                with self.subTest(label):
                    options = ["--command", command] if command else []
                    package = self.pack_bytes(archive, "--folder", self.path("out"),
                                              "--overwrite", "always", "--run-checkbox",
                                              *options)
                    rc, err = self.run_package(package)
                    self.assertEqual(rc, outcome, err)
                    self.assertEqual(err, self.finished(self.path("out")) + "\n")
        finally:
            self.env["PATH"] = env_path

    def test_file_that_cannot_run_goes_to_xdg_open(self):
        self.posix_only("xdg-open is the POSIX stand-in for the shell's open action")
        bindir = self.path("bin")
        os.mkdir(bindir)
        record = self.path("opened")
        with open(os.path.join(bindir, "xdg-open"), "w") as f:
            f.write("#!/bin/sh\necho \"$1\" > %s.tmp; mv %s.tmp %s\n" % (record, record, record))
        os.chmod(os.path.join(bindir, "xdg-open"), 0o755)
        self.env["PATH"] = bindir + ":" + self.env["PATH"]
        archive = zipcraft.build([zipcraft.entry("page.txt", b"p")])
        package = self.pack_bytes(archive, "--folder", self.path("out"),
                                  "--command", "><page.txt")
        rc, err = self.run_package(package)
        self.assertEqual(rc, SUCCESS, err)
        self.assertEqual(self.wait_for(record), [self.path("out", "page.txt")])

    def test_program_brought_by_the_package_runs(self):
        # Regression: a zip gives its files no execute permission, so a package whose
        # command names the program it brings (the kit's "><run.exe") handed that
        # program to xdg-open instead of running it.
        self.posix_only("Windows files need no execute permission")
        with open("/usr/bin/touch", "rb") as f:
            program = f.read()
        elsewhere = self.write("touch", program, base="tmp")
        archive = zipcraft.build([zipcraft.entry("tool.exe", program),
                                  zipcraft.entry("notes.txt", b"n")])
        bindir = self.path("bin")
        os.mkdir(bindir)
        record = self.path("opened")
        with open(os.path.join(bindir, "xdg-open"), "w") as f:
            f.write("#!/bin/sh\necho \"$1\" > %s.tmp; mv %s.tmp %s\n" % (record, record, record))
        os.chmod(os.path.join(bindir, "xdg-open"), 0o755)
        self.env["PATH"] = bindir + ":" + self.env["PATH"]
        cases = [  # label, command, file that must appear, file handed to xdg-open
            ("program of the package", "><tool.exe|><ran", self.path("out", "ran"), None),
            ("file that is no program", "><notes.txt", None, self.path("out", "notes.txt")),
            ("program outside the extraction folder", elsewhere + "|><ran", None, elsewhere),
        ]
        for label, command, made, opened in cases:
            with self.subTest(label):
                for leftover in (record, self.path("out", "ran")):
                    if os.path.exists(leftover):
                        os.remove(leftover)
                package = self.pack_bytes(archive, "--folder", self.path("out"),
                                          "--overwrite", "always", "--command", command)
                rc, err = self.run_package(package)
                self.assertEqual(rc, SUCCESS, err)
                if made:
                    self.wait_for(made)
                    self.assertTrue(os.access(self.path("out", "tool.exe"), os.X_OK))
                if opened:
                    self.assertEqual(self.wait_for(record), [opened])
        # The program outside was left as it was: not made runnable.
        self.assertFalse(os.access(elsewhere, os.X_OK))


class Builder(PackageCase):
    def run_pack(self, *args, stub=None):
        return subprocess.run([PACK, "--stub", stub or STUB, "--stub-size", str(STUB_SIZE),
                               "-o", self.path("p"), *args], capture_output=True, text=True)

    def test_refuses_texts_longer_than_the_record_holds(self):
        for option in ("--caption", "--folder", "--command", "--message"):
            with self.subTest(option):
                r = self.run_pack(option, "x" * 256, self.path("src"))
                self.assertEqual(r.returncode, 2)
                self.assertIn(option + " is 256 bytes long", r.stderr)

    def test_a_folder_keeps_its_name_however_it_is_written(self):
        # Regression: "pictures/" was packed flattened, with a "./" entry for itself.
        self.write("pictures/a.png", b"a")
        self.write("pictures/sub/b.png", b"b")
        want = ["pictures/", "pictures/a.png", "pictures/sub/", "pictures/sub/b.png"]
        for given in ("pictures/", "pictures", "./pictures/", "pictures/."):
            with self.subTest(given):
                package = subprocess.run(
                    [PACK, "--stub", STUB, "--stub-size", str(STUB_SIZE), "-o",
                     self.path("p"), given], cwd=self.path("src"), capture_output=True, text=True)
                self.assertEqual(package.returncode, 0, package.stderr)
                with zipfile.ZipFile(self.path("p")) as z:
                    self.assertEqual(sorted(z.namelist()), want)

    def test_refuses_what_the_stub_cannot_extract(self):
        with open(STUB, "rb") as f:
            stub = f.read()
        for label, data in (("short", stub[:-1]), ("long", stub + b"\0")):
            with open(self.path("stub-" + label), "wb") as f:
                f.write(data)
        self.write("a.txt", b"a")

        def zip_of(*entries, comment=b"", tail=b""):
            z = self.path("in-%d.zip" % len(os.listdir(self.path())))
            with open(z, "wb") as f:
                f.write(zipcraft.build(list(entries), comment) + tail)
            return z

        good = zipcraft.entry("a.txt", b"a")
        renamed = bytearray(zipcraft.build([good]))
        renamed[30:35] = b"b.txt"  # the local header names another file
        with open(self.path("renamed.zip"), "wb") as f:
            f.write(renamed)
        a_txt = self.path("src", "a.txt")
        cases = [  # label, arguments, stub, message
            ("stub one byte short", [a_txt], self.path("stub-short"),
             "is %d bytes long; a Tovo stub is exactly %d" % (STUB_SIZE - 1, STUB_SIZE)),
            ("stub one byte long", [a_txt], self.path("stub-long"),
             "is %d bytes long" % (STUB_SIZE + 1)),
            ("password longer than the stub reads", ["--password", "p" * 80, a_txt], None,
             "--password is 80 characters long; the stub reads at most 79"),
            ("empty password", ["--password", "", a_txt], None, "--password needs a text"),
            ("password for an existing zip", ["--password", "pw", "--zip", zip_of(good)], None,
             "not to --zip"),
            ("other method", ["--zip", zip_of(zipcraft.entry("b.bz2", b"b", method=12))], None,
             'the entry "b.bz2" uses compression method 12'),
            ("AES", ["--zip", zip_of(zipcraft.aes_entry("secret.txt", b"s"))], None,
             'the entry "secret.txt" uses AES'),
            ("name outside the folder", ["--zip", zip_of(zipcraft.entry("../up.txt", b"u"))],
             None, 'the entry "../up.txt" has a name the stub refuses'),
            ("name longer than the stub holds",
             ["--zip", zip_of(zipcraft.entry("n" * 258, b"n"))], None, "longer than 257"),
            ("no entries", ["--zip", zip_of()], None, "holds no entries"),
            ("bytes after the end record", ["--zip", zip_of(good, tail=b"junk")], None,
             "does not end with a zip end record"),
            ("local header names another entry", ["--zip", self.path("renamed.zip")], None,
             "damaged"),
        ]
        for label, args, stub_file, message in cases:
            with self.subTest(label):
                r = self.run_pack(*args, stub=stub_file)
                self.assertEqual(r.returncode, 2, r.stderr)
                self.assertIn(message, r.stderr)
                self.assertFalse(os.path.exists(self.path("p")))
        # The longest password the stub reads is taken.
        r = self.run_pack("--password", "p" * 79, a_txt)
        self.assertEqual(r.returncode, 0, r.stderr)

    def test_streamed_entries_are_packed(self):
        # Sizes only in the data descriptor and the central directory: the stub reads
        # them from the directory.
        z = self.path("streamed.zip")
        with open(z, "wb") as f:
            f.write(zipcraft.build([zipcraft.entry("s.txt", b"streamed", streamed=True)]))
        package = self.pack("--folder", self.path("out"), zip_path=z)
        rc, err = self.run_package(package)
        self.assertEqual(rc, SUCCESS, err)
        self.assertEqual(self.files_of(), {"s.txt": b"streamed"})

    def test_record_layout_and_run_bit(self):
        self.write("f", b"f")
        package = self.pack("--caption", "PROGRAM", "--folder", "><", "--command", "><run.exe",
                            "--flags", "0xCC", "--padding", "2", inputs=[self.path("src", "f")])
        with open(package, "rb") as f:
            f.seek(os.path.getsize(STUB))
            record = f.read(32)
        self.assertEqual(record, b"MPV\xcc\x00\x01\x20\x00\x07PROGRAM\x02><\x09><run.exe\x00\x00\x00")
        self.assertTrue(os.stat(package).st_mode & stat.S_IXUSR)


def main():
    global STUB, PACK, STUB_SIZE, SHIM, RUNNER, PROBE, FINISHED
    parser = argparse.ArgumentParser()
    parser.add_argument("--stub", required=True)
    parser.add_argument("--pack", required=True)
    parser.add_argument("--stub-size", type=int, default=STUB_SIZE)
    parser.add_argument("--shim", help="tovo_fault_shim, for the tests of failing files")
    parser.add_argument("--wine-session", help="run the Windows stub under Wine (session.py)")
    parser.add_argument("--probe", help="tovo_command_probe.exe, for the Wine run")
    args, rest = parser.parse_known_args()
    STUB, PACK = os.path.abspath(args.stub), os.path.abspath(args.pack)
    SHIM = os.path.abspath(args.shim) if args.shim else None
    STUB_SIZE = args.stub_size
    if args.wine_session:
        from wine import driver
        driver.skip_unless_ready(args.wine_session)
        RUNNER, PROBE = WineRunner(args.wine_session), os.path.abspath(args.probe)
        FINISHED = WINDOWS_FINISHED
    else:
        RUNNER = PosixRunner()
    unittest.main(argv=[sys.argv[0]] + rest, verbosity=2)


if __name__ == "__main__":
    main()
