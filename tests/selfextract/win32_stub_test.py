"""Checks of the Windows stub as a file: its length, what it imports, the resources its
code relies on, and packages that tovo-pack builds around it.

usage: win32_stub_test.py --stub tovo-win32.exe --pack TOVO_PACK --objdump OBJDUMP
                          --windres WINDRES [unittest options]
"""

import argparse
import os
import re
import shutil
import struct
import subprocess
import sys
import tempfile
import unittest
import zipfile

STUB = PACK = OBJDUMP = WINDRES = None
STUB_SIZE = 39424

# The stub may import only from DLLs that Windows loads from its own folder whatever
# lies beside the program (the KnownDLLs): the loader resolves these before the stub
# can restrict the DLL search.
ALLOWED_DLLS = {"kernel32.dll", "user32.dll", "shell32.dll", "advapi32.dll", "msvcrt.dll"}

IMAGE_FILE_MACHINE_I386 = 0x014C
IMAGE_SUBSYSTEM_WINDOWS_GUI = 2
DYNAMIC_BASE, NX_COMPAT = 0x0040, 0x0100
LBS_SORT, LBS_MULTIPLESEL, ES_PASSWORD = 0x0002, 0x0008, 0x0020


def read_stub():
    with open(STUB, "rb") as f:
        return f.read()


def imports():
    """{dll name in lower case: [function names]} as objdump reads the import table."""
    text = subprocess.run([OBJDUMP, "-p", STUB], capture_output=True, text=True,
                          check=True).stdout
    table, current = {}, None
    for line in text.splitlines():
        m = re.match(r"\s*DLL Name: (\S+)", line)
        if m:
            current = table.setdefault(m.group(1).lower(), [])
            continue
        m = re.match(r"\s*[0-9a-f]+\s+\d+\s+(\w+)$", line)
        if current is not None and m:
            current.append(m.group(1))
        elif not line.strip():
            current = None
    return table


def dialogs():
    """{template name: {control id: (class or statement, style)}} from the stub's
    resources, as windres decompiles them."""
    text = subprocess.run([WINDRES, "-i", STUB, "-O", "rc"], capture_output=True,
                          text=True, check=True).stdout
    result, current = {}, None
    for line in text.splitlines():
        m = re.match(r'"(\w+)" DIALOG', line)
        if m:
            current = result.setdefault(m.group(1), {})
            continue
        m = re.match(r'\s*CONTROL "[^"]*", (-?\d+), "(\w+)", (0x[0-9a-f]+)', line)
        if current is not None and m:
            current[int(m.group(1))] = (m.group(2), int(m.group(3), 16))
            continue
        m = re.match(r'\s*(\w+) (?:"[^"]*", )?(-?\d+), .*, (0x[0-9a-f]+)$', line)
        if current is not None and m:
            current[int(m.group(2))] = (m.group(1), int(m.group(3), 16))
    return result, text


class StubFile(unittest.TestCase):
    def test_length_is_exactly_stub_size(self):
        self.assertEqual(len(read_stub()), STUB_SIZE)

    def test_is_a_32_bit_gui_program_with_aslr_and_dep(self):
        data = read_stub()
        self.assertEqual(data[:2], b"MZ")
        pe = struct.unpack_from("<I", data, 0x3C)[0]
        self.assertEqual(data[pe:pe + 4], b"PE\0\0")
        self.assertEqual(struct.unpack_from("<H", data, pe + 4)[0], IMAGE_FILE_MACHINE_I386)
        optional = pe + 24
        self.assertEqual(struct.unpack_from("<H", data, optional)[0], 0x10B)  # PE32
        subsystem, dll_characteristics = struct.unpack_from("<HH", data, optional + 68)
        self.assertEqual(subsystem, IMAGE_SUBSYSTEM_WINDOWS_GUI)
        self.assertEqual(dll_characteristics & (DYNAMIC_BASE | NX_COMPAT),
                         DYNAMIC_BASE | NX_COMPAT)

    def test_holds_no_zip_signature(self):
        # The tail check and readers that scan a package must find only the archive's.
        data = read_stub()
        for signature in (b"PK\3\4", b"PK\5\6", b"PK\7\x08", b"PK\1\2"):
            self.assertEqual(data.find(signature), -1, signature)

    def test_imports_only_known_system_dlls_and_ansi_functions(self):
        table = imports()
        self.assertTrue(set(table) <= ALLOWED_DLLS, sorted(table))
        for dll, functions in table.items():
            wide = [f for f in functions if re.search(r"[a-z]W$", f)]
            self.assertEqual(wide, [], dll)
        # The DLL search is restricted through names looked up at run time.
        self.assertNotIn("SetDefaultDllDirectories", table.get("kernel32.dll", []))
        self.assertIn(b"SetDefaultDllDirectories\0", read_stub())
        self.assertIn(b"SetDllDirectoryA\0", read_stub())

    def test_resources_the_code_relies_on(self):
        found, text = dialogs()
        self.assertEqual(set(found), {"MAINDIALOG", "PASSWD", "FILEEXIST"})
        self.assertIn('"MNICON"', text)
        self.assertIn('level=""asInvoker""', text)  # the manifest: no elevation asked
        main = found["MAINDIALOG"]
        # Extraction deselects entries of 301 one by one: it must allow many selected.
        self.assertEqual(main[301][1] & (LBS_SORT | LBS_MULTIPLESEL), LBS_SORT | LBS_MULTIPLESEL)
        self.assertEqual(main[302][1] & (LBS_SORT | LBS_MULTIPLESEL), LBS_SORT)
        for control in (1, 2, 101, 501, 502, 503, 509, 1007):
            self.assertIn(control, main)
        self.assertTrue(found["PASSWD"][101][1] & ES_PASSWORD)
        self.assertEqual(set(found["PASSWD"]), {1, 101})
        self.assertEqual(set(found["FILEEXIST"]), {1, 2, 101, 401})


class Packages(unittest.TestCase):
    """tovo-pack builds Windows packages the same way: the stub, the record at
    StubSize, the archive right behind it."""

    def setUp(self):
        self.root = tempfile.mkdtemp(prefix="tovo-win32-")
        self.addCleanup(shutil.rmtree, self.root, True)

    def path(self, *parts):
        return os.path.join(self.root, *parts)

    def pack(self, *args):
        out = self.path("package.exe")
        r = subprocess.run([PACK, "--stub", STUB, "-o", out, *args], capture_output=True,
                           text=True)
        self.assertEqual(r.returncode, 0, r.stderr)
        with open(out, "rb") as f:
            return out, f.read()

    def check_layout(self, package, data, names):
        self.assertEqual(data[:STUB_SIZE], read_stub())
        self.assertEqual(data[STUB_SIZE:STUB_SIZE + 3], b"MPV")
        record_size = struct.unpack_from("<H", data, STUB_SIZE + 6)[0]
        archive_start = STUB_SIZE + record_size
        self.assertEqual(data[archive_start:archive_start + 4], b"PK\3\4")
        # The file ends with the end record (no comment here).
        self.assertEqual(data[-22:-18], b"PK\5\6")
        with zipfile.ZipFile(package) as z:
            self.assertEqual(sorted(z.namelist()), sorted(names))
            self.assertIsNone(z.testzip())
        return data[STUB_SIZE:archive_start]

    def test_package_made_from_files(self):
        os.makedirs(self.path("kit", "pages"))
        for rel, body in (("run.exe", b"MZ player"), ("pages/start.qmx", b"page\r\n" * 343)):
            with open(self.path("kit", rel), "wb") as f:
                f.write(body)
        package, data = self.pack("--caption", "Kit", "--folder", "><", "--command",
                                  "><run.exe", self.path("kit", "run.exe"),
                                  self.path("kit", "pages"))
        record = self.check_layout(package, data,
                                   ["run.exe", "pages/", "pages/start.qmx"])
        self.assertEqual(record[8:], b"\x03Kit\x02><\x09><run.exe\x00")

    def test_package_around_an_existing_zip(self):
        archive = self.path("in.zip")
        with zipfile.ZipFile(archive, "w", zipfile.ZIP_DEFLATED) as z:
            z.writestr("setup.inf", "[Version]\r\n")
            z.writestr("dir/readme.txt", "hello\r\n" * 100)
        package, data = self.pack("--command", "><setup.inf|.ntx86", "--zip", archive)
        self.check_layout(package, data, ["setup.inf", "dir/readme.txt"])
        with open(archive, "rb") as f:
            self.assertTrue(data.endswith(f.read()))


def main():
    global STUB, PACK, OBJDUMP, WINDRES
    parser = argparse.ArgumentParser()
    parser.add_argument("--stub", required=True)
    parser.add_argument("--pack", required=True)
    parser.add_argument("--objdump", required=True)
    parser.add_argument("--windres", required=True)
    args, rest = parser.parse_known_args()
    STUB, PACK = os.path.abspath(args.stub), os.path.abspath(args.pack)
    OBJDUMP, WINDRES = args.objdump, args.windres
    unittest.main(argv=[sys.argv[0], *rest], verbosity=2)


if __name__ == "__main__":
    main()
