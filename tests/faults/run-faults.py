#!/usr/bin/env python3
# Applies deliberate faults to a scratch copy of the program, one at a time, and checks that the
# named test catches each: it must build and then fail.
#
#     tests/faults/run-faults.py [--tree native|win32|win64] [--only TEXT] [LIST...]
#
# Each list (default: every tests/faults/*.txt) holds one fault a line:
#
#     TREE | TEST | FILE | OLD | NEW | what breaks
#
# TREE is the build tree that runs TEST (a CTest name, matched whole); OLD must occur exactly once
# in FILE and is replaced by NEW (`\n` stands for a line break). Lines starting with # are notes.
# The scratch copy and its build trees live in build/faults/ and are reused between runs.
import argparse
import pathlib
import shutil
import subprocess
import sys

root = pathlib.Path(__file__).resolve().parents[2]
scratch = root / "build" / "faults"
toolchains = {"win32": "cmake/mingw-i686.cmake", "win64": "cmake/mingw-x86_64.cmake"}


def read_faults(lists):
    for path in lists:
        for number, line in enumerate(path.read_text().splitlines(), 1):
            if not line.strip() or line.startswith("#"):
                continue
            fields = [f.strip() for f in line.split(" | ")]
            if len(fields) != 6:
                sys.exit(f"{path.name}:{number}: expected 6 fields separated by ' | '")
            tree, test, file, old, new, what = fields
            yield f"{path.name}:{number}", tree, test, file, old.replace("\\n", "\n"), new.replace("\\n", "\n"), what


def copy_sources():
    source = scratch / "src"
    files = subprocess.run(["git", "ls-files", "-co", "--exclude-standard", "-z"], cwd=root,
                           check=True, capture_output=True).stdout.decode().split("\0")
    for name in filter(None, files):
        target = source / name
        if (root / name).is_file() and (not target.exists() or target.read_bytes() != (root / name).read_bytes()):
            target.parent.mkdir(parents=True, exist_ok=True)
            shutil.copy2(root / name, target)
    return source


def quiet(command, **kwargs):
    return subprocess.run(command, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, **kwargs).returncode == 0


def build(source, tree):
    out = scratch / tree
    if not (out / "CMakeCache.txt").exists():
        options = ["-DGLOAMERY_SANITIZE=ON"] if tree == "native" else [f"-DCMAKE_TOOLCHAIN_FILE={toolchains[tree]}"]
        if not quiet(["cmake", "-S", str(source), "-B", str(out), "-Wno-dev"] + options):
            return False
    return quiet(["cmake", "--build", str(out), "-j2"])


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--tree", help="run only the faults of this tree")
    parser.add_argument("--only", help="run only the faults whose line contains this text")
    parser.add_argument("lists", nargs="*", type=pathlib.Path)
    args = parser.parse_args()
    lists = args.lists or sorted((root / "tests" / "faults").glob("*.txt"))
    source = copy_sources()
    results = {"caught": 0, "MISSED": 0, "not applied": 0, "does not build": 0}
    for where, tree, test, file, old, new, what in read_faults(lists):
        if (args.tree and tree != args.tree) or (args.only and args.only not in f"{where} {test} {file} {what}"):
            continue
        path = source / file
        original = path.read_text()
        if original.count(old) != 1:
            outcome = "not applied"
        else:
            path.write_text(original.replace(old, new))
            try:
                if not build(source, tree):
                    outcome = "does not build"
                else:
                    display = [] if tree == "native" else ["xvfb-run", "-a", "-s", "-screen 0 1280x1024x24"]
                    passed = quiet(display + ["ctest", "--test-dir", str(scratch / tree), "-R", f"^{test}$", "--timeout", "600"])
                    outcome = "MISSED" if passed else "caught"
            finally:
                path.write_text(original)
        results[outcome] += 1
        print(f"{outcome:15} {where:18} {test:32} {what}", flush=True)
    print(", ".join(f"{count} {name}" for name, count in results.items()))
    return 0 if results["caught"] and results["caught"] == sum(results.values()) else 1


if __name__ == "__main__":
    sys.exit(main())
