#!/usr/bin/env python3
"""Checks that every #include of our sources points down the layers.

    scripts/check_layers.py [ROOT]     checks the tree at ROOT (default: this tree)
    scripts/check_layers.py --self-test

The layers are drawn in CONTRIBUTING.md ("Layers"); the tables below are the same
picture in a form a program can hold the tree to. Every offending line is printed
as "file:line: why", and the exit status is 1 when there is one.
"""
import os
import re
import sys

# The framework's floors, lowest first: a floor includes its own headers and
# those of the floors below it, never those above.
FLOORS = ["core", "gdi", "window", "system", "controls", "dialogs", "menus", "app"]
# The backends stand beside the floors above the window manager: each drives the
# window manager's backend interface and sees nothing above it.
BACKENDS = ["backends/headless", "backends/sdl"]
# The library sits on the framework but knows none of its backends. Its foot
# includes no other library folder; the rest may include one another, since
# CTableView's members are spread over them.
LIBRARY_FOOT = ["text", "resources"]
LIBRARY = ["model", "headers", "settings", "view", "find", "clipboard", "controlbar"]
# On top: the installed public headers, the test harness behind one of them, the
# host, the tools, and what checks them.
TOP = ["include", "testing", "demo", "tools", "tests", "bench", "fuzz"]

FRAMEWORK = {"framework/" + f for f in FLOORS}
BELOW = {}
for i, floor in enumerate(FLOORS):
    BELOW["framework/" + floor] = {"framework/" + f for f in FLOORS[: i + 1]}
for backend in BACKENDS:
    BELOW["framework/" + backend] = BELOW["framework/window"] | {"framework/" + backend}
for folder in LIBRARY_FOOT:
    BELOW[folder] = FRAMEWORK | {folder}
for folder in LIBRARY:
    BELOW[folder] = FRAMEWORK | set(LIBRARY_FOOT) | set(LIBRARY)
LIBRARY_ALL = set(LIBRARY_FOOT) | set(LIBRARY)
ALL_BACKENDS = {"framework/" + b for b in BACKENDS}
BELOW["include"] = FRAMEWORK | ALL_BACKENDS | LIBRARY_ALL | {"include"}
BELOW["tools"] = FRAMEWORK | LIBRARY_ALL | {"tools"}
BELOW["demo"] = FRAMEWORK | ALL_BACKENDS | LIBRARY_ALL | {"include", "demo"}
# The harness drives the framework's headless desktop; it knows nothing of the view.
BELOW["testing"] = FRAMEWORK | ALL_BACKENDS | {"include", "testing"}
# Tests, benchmarks and fuzz targets may include anything but private headers.

# Headers private to their folder besides every *_internal.h.
PRIVATE = {"framework/window/gdi_seam.h"}
# Private headers that others may still use, and who. The harness reads the
# desktop's pixels through the window manager's drawing seam; the tests listed
# here still do so directly until they use the harness's pixel probes.
PRIVATE_USERS = {
    "framework/window/gdi_seam.h": ["testing/", "tests/framework/"],
}
SOURCES = (".h", ".cpp", ".c", ".inc")
INCLUDE = re.compile(r'^\s*#\s*include\s*([<"])([^>"]+)[>"]')


def unit_of(path):
    """The layer a tree path belongs to: 'framework/gdi', 'view', 'tests'..."""
    parts = path.split("/")
    if parts[0] == "tq3view":  # the public headers, included as <tq3view/...>
        return "include"
    if parts[0] != "framework" or len(parts) < 3:
        return parts[0]
    if parts[1] == "backends" and len(parts) >= 4:
        return "framework/backends/" + parts[2]
    return "framework/" + parts[1]


def is_private(header):
    return header in PRIVATE or header.endswith("_internal.h")


def check_include(source, header, angled):
    """Why `source` may not include `header` (paths from the top), or None."""
    if angled:
        if header.startswith("SDL") and not source.startswith(("framework/backends/sdl/", "tests/framework/sdl/")):
            return "only the interactive backend includes SDL"
        return None
    src, dst = unit_of(source), unit_of(header)
    if dst not in BELOW and dst not in TOP:
        return None  # not one of our folders
    if is_private(header) and os.path.dirname(source) != os.path.dirname(header):
        if not source.startswith(tuple(PRIVATE_USERS.get(header, []))):
            return "%s is private to %s/" % (header, os.path.dirname(header))
    allowed = BELOW.get(src)
    if allowed is not None and dst not in allowed:
        return "%s includes %s, which is not below it" % (src, dst)
    return None


def check_tree(root):
    failures = []
    for top in sorted(["framework", "include"] + LIBRARY_FOOT + LIBRARY + TOP[1:]):
        for folder, dirs, files in os.walk(os.path.join(root, top)):
            dirs.sort()
            for name in sorted(f for f in files if f.endswith(SOURCES)):
                path = os.path.relpath(os.path.join(folder, name), root).replace(os.sep, "/")
                with open(os.path.join(folder, name), encoding="utf-8", errors="replace") as f:
                    for number, line in enumerate(f, 1):
                        m = INCLUDE.match(line)
                        why = m and check_include(path, m.group(2), m.group(1) == "<")
                        if why:
                            failures.append("%s:%d: %s" % (path, number, why))
    return failures


def self_test():
    # (including file, included header, angled, allowed)
    cases = [
        ("framework/gdi/dc.cpp", "framework/core/wintypes.h", False, True),
        ("framework/gdi/dc.cpp", "framework/window/winuser.h", False, False),
        ("framework/gdi/text/font.cpp", "framework/gdi/text/font_internal.h", False, True),
        ("framework/system/clipboard.cpp", "framework/window/winuser.h", False, True),
        ("framework/system/clipboard.cpp", "framework/window/wm_internal.h", False, False),
        ("framework/window/paint.cpp", "framework/system/registry.h", False, False),
        ("framework/controls/static_control.cpp", "framework/app/wnd.h", False, False),
        ("framework/app/afx_controls.h", "framework/controls/button.h", False, True),
        ("framework/backends/sdl/sdl_backend.cpp", "framework/window/backend.h", False, True),
        ("framework/backends/sdl/sdl_backend.cpp", "framework/app/wnd.h", False, False),
        ("framework/window/input.cpp", "framework/backends/headless/headless_backend.h", False, False),
        ("framework/core/utf.cpp", "text/tab_text.h", False, False),
        ("text/tab_text.cpp", "view/table_view.h", False, False),
        ("view/table_view.cpp", "headers/column_header_wnd.h", False, True),
        ("view/table_view.cpp", "framework/backends/sdl/sdl_backend.h", False, False),
        ("view/table_view.cpp", "tq3view/testing.h", False, False),
        ("headers/line_header_wnd.cpp", "headers/strip_internal.h", False, True),
        ("view/table_view.cpp", "headers/strip_internal.h", False, False),
        ("demo/main.cpp", "framework/backends/sdl/sdl_backend.h", False, True),
        ("demo/main.cpp", "framework/window/gdi_seam.h", False, False),
        ("testing/pixels.cpp", "framework/window/gdi_seam.h", False, True),
        ("testing/desktop.cpp", "view/table_view.h", False, False),
        ("tests/text/x_test.cpp", "framework/window/wm_internal.h", False, False),
        ("tests/table_view/x_test.cpp", "framework/window/gdi_seam.h", False, False),
        ("tools/tq3reg/main.cpp", "demo/script.h", False, False),
        ("view/table_view.cpp", "SDL.h", True, False),
        ("framework/backends/sdl/sdl_backend.cpp", "SDL.h", True, True),
        ("view/table_view.cpp", "string", True, True),
    ]
    wrong = [c for c in cases if (check_include(c[0], c[1], c[2]) is None) != c[3]]
    for source, header, _, allowed in wrong:
        print("self-test: %s including %s should be %s" % (source, header, "allowed" if allowed else "refused"))
    return not wrong


def main(argv):
    if argv[1:] == ["--self-test"]:
        return 0 if self_test() else 1
    root = argv[1] if len(argv) > 1 else os.path.join(os.path.dirname(os.path.abspath(__file__)), "..")
    failures = check_tree(root)
    for failure in failures:
        print(failure)
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
