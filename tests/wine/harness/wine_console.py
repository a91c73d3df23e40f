"""Runs Windows programs of a build tree under Wine and reads what they print to a console of their own.

A windowed program that calls AllocConsole prints through Wine's console, which reaches us only when Wine
runs on a terminal: the program runs under a pseudo-terminal and the terminal's escape sequences are
turned back into text.
"""
import os
import re
import subprocess

HERE = os.path.dirname(os.path.abspath(__file__))
TOOLS = os.path.normpath(os.path.join(HERE, "..", "..", "..", "tools"))
WINE_RUN = os.path.join(TOOLS, "wine-run.sh")

_CSI = re.compile(r"\x1b\[([0-9;?]*)([A-Za-z])")
_OSC = re.compile(r"\x1b\][^\x07]*\x07")


def decode_terminal(raw):
    """Text of a terminal stream: cursor-forward becomes blanks, other sequences vanish, CR LF is LF."""

    def replace(match):
        if match.group(2) == "C":
            return " " * int(match.group(1) or "1")
        return ""

    text = _CSI.sub(replace, _OSC.sub("", raw))
    text = text.replace("\r\n", "\n")
    while "\r\n" in text or "\n\r" in text:
        text = text.replace("\r\n", "\n")
    return text.replace("\r", "")


def run_on_terminal(exe, *args, timeout=60):
    """Runs `exe args` under Wine on a pseudo-terminal; returns (exit status, decoded output)."""
    command = " ".join(_quote(part) for part in [WINE_RUN, exe, *args])
    result = subprocess.run(["script", "-qfec", command, "/dev/null"], stdin=subprocess.DEVNULL,
                            stdout=subprocess.PIPE, timeout=timeout)
    return result.returncode, decode_terminal(result.stdout.decode("utf-8", "replace"))


def run_wine(*args, timeout=60):
    """Runs a Wine program (reg, sc, ...) in the tree's prefix; returns (exit status, stdout text)."""
    result = subprocess.run([os.environ["PZ_WINE"], *args], stdin=subprocess.DEVNULL, stdout=subprocess.PIPE,
                            stderr=subprocess.DEVNULL, timeout=timeout)
    return result.returncode, result.stdout.decode("utf-8", "replace").replace("\r", "")


def _quote(text):
    return "'" + text.replace("'", "'\\''") + "'"


def use_tree_environment(path):
    """Takes the Wine variables of the build tree that holds `path` when the caller did not set them."""
    if "PZ_WINE" in os.environ:
        return
    tree = os.path.abspath(path)
    while tree != "/" and not os.path.exists(os.path.join(tree, "CMakeCache.txt")):
        tree = os.path.dirname(tree)
    script = 'source "$1/wine-env.sh" "$2" && env -0'
    result = subprocess.run(["bash", "-c", script, "_", TOOLS, tree], stdout=subprocess.PIPE, check=True)
    for entry in result.stdout.split(b"\0"):
        name, _, value = entry.decode().partition("=")
        if name:
            os.environ[name] = value


def windows_system_directory():
    """The prefix's system directory of the tree's architecture, as a host path."""
    return os.path.join(os.environ["WINEPREFIX"], "drive_c", "windows", "system32")


def write_settings_file():
    """The settings file the service loads at start: linear pressure, the whole tablet."""
    import struct
    path = os.path.join(windows_system_directory(), "PzTablet.cfg")
    with open(path, "wb") as settings:
        settings.write(struct.pack("<HHIHHHH", 100, 0, 0, 0, 0, 10206, 7422))
