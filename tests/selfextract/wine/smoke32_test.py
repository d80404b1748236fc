"""The shipped 32-bit Windows stub under Wine's 32-bit loader. On machines whose kernel
runs no 32-bit programs that loader runs under qemu-i386 and needs about a minute to
start, so this is a short set that goes once through each window the stub shows: the
size message of a cut package, the password dialog, the overwrite question, the
"Finished." box, and a command started after extraction. The whole table of package
cases runs against the 64-bit build of the same sources (packages_test.py).

usage: smoke32_test.py --stub tovo-win32.exe --pack TOVO_PACK --session FILE
                       --probe PROBE.exe [unittest options]
"""

import argparse
import os
import sys
import unittest

sys.path.insert(0, os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
import packages_test as packages  # noqa: E402
import zipcraft  # noqa: E402
from wine import driver  # noqa: E402

SUCCESS, FAILURE = packages.SUCCESS, packages.FAILURE


class Shipped32BitStub(packages.PackageCase):
    def test_cut_package_shows_the_size_message(self):
        package = self.pack_bytes(zipcraft.build([zipcraft.entry("a.txt", b"alpha")]),
                                  "--folder", self.path("out"))
        with open(package, "r+b") as f:
            f.truncate(os.path.getsize(package) - 1)
        rc, err = self.run_package(package)
        self.assertEqual((rc, err), (FAILURE, packages.BAD_PAYLOAD + "\n"))
        self.assertEqual(self.tree(), {})

    def test_deflated_and_stored_entries_with_password_and_overwrite(self):
        readme = b"read me\r\n" * 400
        secret = bytes(range(256)) * 40
        self.write("old.txt", b"old", base="out")
        entries = [zipcraft.entry("readme.txt", readme),
                   zipcraft.entry("old.txt", b"new"),
                   zipcraft.encrypted_entry("data/secret.bin", secret, "pw", method=0)]
        package = self.pack_bytes(zipcraft.build(entries), "--folder", self.path("out"))
        rc, err = self.run_package(package, "y\npw\n")
        self.assertEqual(rc, SUCCESS, err)
        self.assertEqual(err, "Confirm overwrite of...: old.txt...already exists, overwrite ?\n"
                              "Enter password...: \n" + packages.WINDOWS_FINISHED + "\n")
        self.assertEqual(self.files_of(), {"readme.txt": readme, "old.txt": b"new",
                                           "data/secret.bin": secret})
        self.assertNoTempFiles()

    def test_command_started_after_extraction(self):
        result = self.path("result")
        self.env["TOVO_PROBE_RESULT"] = self.native(result)
        with open(packages.PROBE, "rb") as f:
            probe = f.read()
        archive = zipcraft.build([zipcraft.entry("probe.exe", probe),
                                  zipcraft.entry("page.qmx", b"page")])
        package = self.pack_bytes(archive, "--folder", self.path("out"), "--no-finished",
                                  "--command", "><probe.exe|><page.qmx")
        rc, err = self.run_package(package)
        self.assertEqual((rc, err), (SUCCESS, ""))
        # The working folder is the extraction folder; a parameter that names an existing
        # file is passed in its short form.
        lines = self.wait_for(result, seconds=240)
        self.assertEqual(lines, [self.native(self.path("out")),
                                 packages.RUNNER.short_path(self.path("out", "page.qmx"))])


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--stub", required=True)
    parser.add_argument("--pack", required=True)
    parser.add_argument("--session", required=True)
    parser.add_argument("--probe", required=True)
    args, rest = parser.parse_known_args()
    driver.skip_unless_ready(args.session, bits=32)
    packages.STUB, packages.PACK = os.path.abspath(args.stub), os.path.abspath(args.pack)
    packages.PROBE = os.path.abspath(args.probe)
    packages.RUNNER = packages.WineRunner(args.session, slow=True)
    unittest.main(argv=[sys.argv[0]] + rest, verbosity=2)


if __name__ == "__main__":
    main()
