"""Runs a Windows console test program (GoogleTest) under Wine in the session's prefix,
its output passed through and its exit status kept.

usage: unit_test.py --session FILE PROGRAM.exe [arguments]
"""

import argparse
import os
import subprocess
import sys

import driver


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--session", required=True)
    parser.add_argument("program")
    args, rest = parser.parse_known_args()
    bits = 64 if driver.is_64bit(args.program) else 32
    driver.skip_unless_ready(args.session, bits)
    session = driver.load_session(args.session)
    runner = driver.WineRunner(session, slow=bits == 32)
    env = dict(runner.environment(os.environ), WINEDEBUG="-all")
    r = subprocess.run([runner.loader_for(args.program), args.program, *rest], env=env,
                       stdin=subprocess.DEVNULL, timeout=runner.run_timeout)
    sys.exit(r.returncode)


if __name__ == "__main__":
    main()
