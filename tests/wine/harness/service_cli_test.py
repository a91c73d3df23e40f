"""KTPEN's console commands against Wine's service manager: texts, states and the event-log source.

usage: service_cli_test.py BIN_DIR   (run by CTest in the Wine test environment)
"""
import os
import re
import sys
import time
import unittest

import wine_console as wc

SERVICE = "PzSuperPowerTablet"
EVENT_LOG = r"HKLM\SYSTEM\CurrentControlSet\Services\EventLog\Application"
BIN = ""


def ktpen(*args):
    status, text = wc.run_on_terminal(os.path.join(BIN, "KTPEN.exe"), *args)
    return text


def state():
    return wc.run_wine(os.path.join(BIN, "service_state.exe"), SERVICE)[1].strip()


def sources():
    text = wc.run_wine("reg", "query", EVENT_LOG, "/v", "Sources")[1]
    match = re.search(r"Sources\s+REG_MULTI_SZ\s+(.*)", text)
    return [name for name in match.group(1).strip().split("\\0") if name] if match else []


def reg_value(key, name):
    text = wc.run_wine("reg", "query", key, "/v", name)[1]
    match = re.search(name + r"\s+(\S+)\s+(.*)", text)
    return (match.group(1), match.group(2).strip()) if match else None


class ServiceCommandLine(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        wc.write_settings_file()
        if state() != "missing":
            ktpen("-u")

    @classmethod
    def tearDownClass(cls):
        if state() != "missing":
            ktpen("-u")

    def test_lifecycle_through_the_service_manager(self):
        self.assertEqual(ktpen("-i"), SERVICE + " installed.\n")
        self.assertEqual(state(), "1")
        self.assertEqual(reg_value(EVENT_LOG + "\\" + SERVICE, "TypesSupported"), ("REG_DWORD", "0x7"))
        self.assertEqual(sources().count(SERVICE), 1)

        # A second installation fails with the system's text; the source is not added twice.
        again = ktpen("-i")
        self.assertRegex(again, r"^CreateService failed - \S[^\n]*[^\s]\n$")
        self.assertEqual(sources().count(SERVICE), 1)

        self.assertRegex(ktpen("-s"), r"^Starting up %s\.\.*\n%s started\.\n$" % (SERVICE, SERVICE))
        self.assertEqual(state(), "4")
        # With no tablet the service stays running; a stop ends it within one wait.
        time.sleep(1)
        self.assertEqual(state(), "4")
        started = time.monotonic()
        self.assertRegex(ktpen("-e"), r"^Stopping %s\.\.*\n%s stopped\.\n$" % (SERVICE, SERVICE))
        self.assertLess(time.monotonic() - started, 6)
        self.assertEqual(state(), "1")

        # -u on a running service stops it first; -i before -u: the last action letter wins.
        self.assertRegex(ktpen("-s"), r"started\.\n$")
        self.assertRegex(ktpen("-i", "-u"),
                         r"^Stopping %s\.\.*\n%s stopped\.\n%s removed\.\n$" % (SERVICE, SERVICE, SERVICE))
        self.assertEqual(state(), "missing")
        self.assertNotIn(SERVICE, sources())
        self.assertIsNone(reg_value(EVENT_LOG + "\\" + SERVICE, "TypesSupported"))

    def test_commands_on_a_missing_service_print_the_open_failure(self):
        for option in ("-s", "-e", "-u"):
            with self.subTest(option=option):
                self.assertRegex(ktpen(option), r"^OpenService failed - \S[^\n]*\n$")

    def test_without_an_action_the_dispatcher_fails_and_the_process_ends(self):
        for args in ((), ("-x",), ("install",)):
            with self.subTest(args=args):
                started = time.monotonic()
                self.assertEqual(ktpen(*args), "")
                self.assertLess(time.monotonic() - started, 20)
                self.assertEqual(state(), "missing")


if __name__ == "__main__":
    BIN = sys.argv.pop(1)
    wc.use_tree_environment(BIN)
    unittest.main(verbosity=2)
