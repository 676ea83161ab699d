#!/usr/bin/env python3
"""Prints one part's lines of the closing test summary from CTest's JUnit file
(ctest --output-junit): how many tests passed, failed and were skipped, then each skipped test
with the reason it gave and each failed test.

    scripts/ctest-summary.py PART JUNIT-FILE
"""
import sys
import xml.etree.ElementTree as ElementTree


def skip_reason(case):
    """The reason a skipped test gave: GoogleTest's text after "Skipped", or the "SKIP: ..." line
    of a test script; else what CTest noted."""
    lines = (case.findtext("system-out") or "").splitlines()
    for index, line in enumerate(lines):
        if line.endswith(": Skipped"):
            reason = []
            for following in lines[index + 1:]:
                if following.startswith("[  SKIPPED ]"):
                    break
                if following.strip():
                    reason.append(following.strip())
            return " ".join(reason) or "no reason given"
        if line.startswith("SKIP: "):
            return line[len("SKIP: "):]
    return ctest_note(case) or "no reason given"


def ctest_note(case):
    """What CTest noted on a test that did not run: SKIP_RETURN_CODE=77, SKIP_REGULAR_EXPRESSION_
    MATCHED, or why it could not be started."""
    note = case.find("skipped")
    return "" if note is None else note.get("message", "")


def main(part, junit):
    try:
        cases = ElementTree.parse(junit).getroot().iter("testcase")
    except (OSError, ElementTree.ParseError) as error:
        print(f"{part}: no results ({error})")
        return
    passed, failed, skipped = [], [], []
    for case in cases:
        status = case.get("status")
        name = case.get("name")
        if status == "run":
            passed.append(name)
        elif status == "notrun" and ctest_note(case).startswith("SKIP_"):
            skipped.append(f"{name}: {skip_reason(case)}")
        elif status == "notrun":
            failed.append(f"{name} (not run: {ctest_note(case)})")
        elif status != "disabled":
            failed.append(name)
    print(f"{part}: {len(passed)} passed, {len(failed)} failed, {len(skipped)} skipped")
    for line in skipped:
        print(f"  skipped {line}")
    for line in failed:
        print(f"  FAILED  {line}")


if __name__ == "__main__":
    if len(sys.argv) != 3:
        sys.exit(__doc__.strip())
    main(sys.argv[1], sys.argv[2])
