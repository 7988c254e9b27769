#!/usr/bin/env python3
# Applies deliberate faults to a scratch copy of the program, one at a time, and checks that the
# named test catches each: it must build and then fail.
#
#     tests/faults/run-faults.py [--only TEXT] [LIST...]
#
# Each list (default: every tests/faults/*.txt) holds one fault a line:
#
#     TREE | TEST | FILE | OLD | NEW | what breaks
#
# TREE is the build tree that runs TEST (a CTest name, matched whole); OLD must occur exactly once
# in FILE and is replaced by NEW (`\n` stands for a line break). Lines starting with # are notes.
# --only keeps the faults whose line, or LIST:NUMBER, contains TEXT (a tree's name, say).
# The scratch copy and its build trees live in build/faults/ and are reused between runs.
import argparse
import pathlib
import shutil
import subprocess
import sys

root = pathlib.Path(__file__).resolve().parents[2]
scratch = root / "build" / "faults"
source = scratch / "src"
configure = {"native": "-DGLOAMERY_SANITIZE=ON", "win32": "-DCMAKE_TOOLCHAIN_FILE=cmake/mingw-i686.cmake",
             "win64": "-DCMAKE_TOOLCHAIN_FILE=cmake/mingw-x86_64.cmake"}


def quiet(*command):
    return subprocess.run(command, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL).returncode == 0


def copy_sources():
    listed = subprocess.run(["git", "ls-files", "-co", "--exclude-standard", "-z"], cwd=root, check=True,
                            capture_output=True, text=True).stdout.split("\0")
    for original, copy in ((root / name, source / name) for name in listed if name):
        if original.is_file() and (not copy.exists() or copy.read_bytes() != original.read_bytes()):
            copy.parent.mkdir(parents=True, exist_ok=True)
            # A fresh time stamp, not the original's: a file changed before the scratch tree's
            # last build would otherwise look older than its objects and not be built again.
            shutil.copy(original, copy)


def outcome_of(tree, test):
    out = scratch / tree
    configured = (out / "CMakeCache.txt").exists() or quiet("cmake", "-S", source, "-B", out, "-Wno-dev", configure[tree])
    # The test's own executable and what it needs, where a target has the test's name (building
    # the whole tree would package the program again for every fault); else everything.
    if not (configured and (quiet("cmake", "--build", out, "-j2", "--target", test) or
                            quiet("cmake", "--build", out, "-j2"))):
        return "does not build"
    display = [] if tree == "native" else ["xvfb-run", "-a", "-s", "-screen 0 1280x1024x24"]
    passed = quiet(*display, "ctest", "--test-dir", out, "-R", f"^{test}$", "--timeout", "600")
    return "MISSED" if passed else "caught"


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--only", help="run only the faults whose line contains this text")
    parser.add_argument("lists", nargs="*", type=pathlib.Path)
    args = parser.parse_args()
    copy_sources()
    results = dict.fromkeys(["caught", "MISSED", "not applied", "does not build"], 0)
    for path in args.lists or sorted((root / "tests" / "faults").glob("*.txt")):
        for number, line in enumerate(path.read_text().splitlines(), 1):
            where = f"{path.name}:{number}"
            if not line.strip() or line.startswith("#") or (args.only and args.only not in f"{where} {line}"):
                continue
            fields = [field.strip().replace("\\n", "\n") for field in line.split(" | ")]
            if len(fields) != 6:
                sys.exit(f"{where}: expected 6 fields separated by ' | '")
            tree, test, file, old, new, what = fields
            target = source / file
            original = target.read_text()
            outcome = "not applied"
            if original.count(old) == 1:
                target.write_text(original.replace(old, new))
                try:
                    outcome = outcome_of(tree, test)
                finally:
                    target.write_text(original)
            results[outcome] += 1
            print(f"{outcome:15} {where:18} {test:32} {what}", flush=True)
    print(", ".join(f"{count} {name}" for name, count in results.items()))
    return 0 if results["caught"] and results["caught"] == sum(results.values()) else 1


if __name__ == "__main__":
    sys.exit(main())
