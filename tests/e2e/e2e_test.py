#!/usr/bin/env python3
"""End-to-end tests: the real lumigrab.exe under Wine and Xvfb against the
demo shop on 127.0.0.1, with the hand-off receiver or the real packer
standing in beside it. The window is driven through the X server (xdotool)
and looked at with win_driver.exe.

Run by CTest in the Windows build; the arguments name the built programs:
  e2e_test.py --wine-run SCRIPT --prefix DIR --loader WINE --lumigrab EXE
              --skin BMP --receiver EXE --packer EXE --driver EXE
              --shop SHOP_SERVER --work DIR [unittest arguments]
"""
import argparse
import os
import shutil
import subprocess
import sys
import time
import unittest
import urllib.request
import zipfile

ARGS = None
PRODUCT = "/item/K-1024.htm"
DESCRIPTION = "产品图"
MAIN = "预览图"


def windows_path(path):
    """The path as Wine shows it to a program: the host's root is Z:."""
    return "Z:" + os.path.abspath(path).replace("/", "\\")


class Shop:
    """The demo shop in a process of its own."""

    def __init__(self, work, image_delay=0.0):
        self.port_file = os.path.join(work, "shop.port")
        self.log = os.path.join(work, "shop.log")
        for stale in (self.port_file, self.log):
            if os.path.exists(stale):
                os.remove(stale)
        command = [sys.executable, ARGS.shop, "--port-file", self.port_file,
                   "--log", self.log]
        if image_delay:
            command += ["--image-delay", str(image_delay)]
        self.process = subprocess.Popen(command, stdin=subprocess.DEVNULL,
                                        stdout=subprocess.DEVNULL)
        for _ in range(300):
            if os.path.exists(self.port_file):
                break
            time.sleep(0.05)
        with open(self.port_file) as f:
            self.base = "http://127.0.0.1:%d" % int(f.read())

    def fetch(self, path):
        with urllib.request.urlopen(self.base + path) as reply:
            return reply.read()

    def requests(self):
        if not os.path.exists(self.log):
            return []  # nothing reached the shop
        with open(self.log, encoding="utf-8") as f:
            return f.read().splitlines()

    def stop(self):
        self.process.terminate()
        self.process.wait()


class Wine:
    """Starts Windows programs in the test prefix, with its X server."""

    def command(self, exe, *args):
        return [ARGS.wine_run, ARGS.prefix, ARGS.loader, exe] + list(args)

    def start(self, exe, *args):
        # Programs that Wine starts on their behalf (the file manager) may
        # outlive them: they must not hold on to a pipe of ours.
        return subprocess.Popen(self.command(exe, *args), stdin=subprocess.DEVNULL,
                                stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)

    def driver(self, *args, timeout=60):
        done = subprocess.run(self.command(ARGS.driver, *args), stdin=subprocess.DEVNULL,
                              stdout=subprocess.PIPE, stderr=subprocess.DEVNULL,
                              timeout=timeout)
        return done.returncode, done.stdout.decode("gbk", "replace")

    def display(self):
        with open(ARGS.prefix + ".xvfb") as f:
            return ":" + f.read().split()[0]

    def xdotool(self, *args):
        env = dict(os.environ, DISPLAY=self.display())
        subprocess.run(["xdotool"] + list(args), env=env, check=True, timeout=60)


WINE = Wine()


class Install:
    """A folder holding the program as a user gets it."""

    def __init__(self, name, skin=True, packer=None):
        self.dir = os.path.join(ARGS.work, name)
        shutil.rmtree(self.dir, ignore_errors=True)
        os.makedirs(self.dir)
        self.exe = os.path.join(self.dir, "lumigrab.exe")
        shutil.copy(ARGS.lumigrab, self.exe)
        if skin:
            os.makedirs(os.path.join(self.dir, "img"))
            shutil.copy(ARGS.skin, os.path.join(self.dir, "img", "stickers.bmp"))
        if packer:
            shutil.copy(packer, os.path.join(self.dir, "zip.exe"))

    def path(self, *parts):
        return os.path.join(self.dir, *parts)

    def output(self, folder):
        where = self.path("Output", folder)
        return sorted(os.listdir(where)) if os.path.isdir(where) else None

    def received(self, program, n=1, timeout=30):
        record = self.path(program + ".received.%d" % n)
        for _ in range(int(timeout / 0.1)):
            if os.path.exists(record):
                time.sleep(0.2)  # written before the window procedure returns
                break
            time.sleep(0.1)
        with open(record, "rb") as f:
            return f.read().split(b"payload=", 1)[1]


def wait_for_exit(process, timeout=120):
    return process.wait(timeout=timeout)


class EndToEnd(unittest.TestCase):
    def setUp(self):
        self.shop = None
        self.started = []

    def tearDown(self):
        # Programs started on the test's behalf (a packer, a file manager)
        # must not be found by the next test.
        for name in ("lumigrab.exe", "zip.exe", "PICTDESK.EXE"):
            WINE.driver("kill", name)
        for process in self.started:
            if process.poll() is None:
                process.kill()
                process.wait()
        if self.shop:
            self.shop.stop()

    def start(self, exe, *args):
        process = WINE.start(exe, *args)
        self.started.append(process)
        return process

    def start_shop(self, image_delay=0.0):
        self.shop = Shop(ARGS.work, image_delay)
        return self.shop

    def check_export(self, install, shop, folder="K-1024"):
        """The export folder holds every picture of the page, named as the
        user expects, with the shop's bytes, and one record file."""
        files = install.output(folder)
        self.assertIsNotNone(files, "no export folder")
        descriptions = sorted(f for f in files if f.startswith(DESCRIPTION))
        mains = sorted(f for f in files if f.startswith(MAIN))
        records = [f for f in files if f.endswith(".ac.txt")]
        self.assertEqual(len(files), 4 + 5 + 1, files)
        self.assertEqual(len(records), 1)
        self.assertRegex(records[0], r"^\d{14}\.ac\.txt$")
        for prefix, names, count, stem in ((DESCRIPTION, descriptions, 4, "k1024-d"),
                                          (MAIN, mains, 5, "k1024-m")):
            for i in range(1, count + 1):
                name = [n for n in names if n.startswith("%s%d_" % (prefix, i))]
                self.assertEqual(len(name), 1, names)
                self.assertRegex(name[0], r"^%s%d_\d{12}\.png$" % (prefix, i))
                with open(install.path("Output", folder, name[0]), "rb") as f:
                    self.assertEqual(f.read(), shop.fetch("/img/%s%d.png" % (stem, i)))
        with open(install.path("Output", folder, records[0]), "rb") as f:
            record = f.read()
        self.assertEqual(record.count(b"\r\n"), 11)
        self.assertTrue(record.startswith(b"@Lumigrab?1\r\n"))

    def test_command_line_export_hands_the_folder_to_the_packer(self):
        shop = self.start_shop()
        install = Install("cmdline", packer=ARGS.receiver)
        address = shop.base + PRODUCT
        lumigrab = self.start(install.exe, address)
        # No message box: the program ends by itself.
        self.assertEqual(wait_for_exit(lumigrab), 0)
        self.check_export(install, shop)
        exe_dir = windows_path(install.dir)
        payload = install.received("zip.exe")
        expected = "%s\\Output\\K-1024|%s\\temp\\K-1024.zip" % (exe_dir, exe_dir)
        self.assertEqual(payload.decode("gbk"), expected)
        self.assertTrue(os.path.isdir(install.path("temp")))
        self.assertIn("GET " + PRODUCT, shop.requests())

    def test_companion_hears_of_the_address_first(self):
        shop = self.start_shop()
        install = Install("companion", packer=ARGS.receiver)
        companion = install.path("PICTDESK.EXE")
        shutil.copy(ARGS.receiver, companion)
        self.start(companion)
        self.assertEqual(WINE.driver("find", "receiver 1", "30000")[0], 0)
        address = shop.base + PRODUCT
        lumigrab = self.start(install.exe, "--flag", address)
        self.assertEqual(wait_for_exit(lumigrab), 0)
        self.assertEqual(install.received("PICTDESK.EXE"), ("img|" + address).encode())
        self.assertTrue(install.received("zip.exe").endswith(b"\\temp\\K-1024.zip"))

    def test_an_argument_without_address_only_tells_the_companion(self):
        install = Install("noaddress")
        companion = install.path("PICTDESK.EXE")
        shutil.copy(ARGS.receiver, companion)
        self.start(companion)
        self.assertEqual(WINE.driver("find", "receiver 1", "30000")[0], 0)
        lumigrab = self.start(install.exe, "x")
        self.assertEqual(install.received("PICTDESK.EXE"), b"img|")
        self.assertEqual(WINE.driver("find", "Lumigrab", "30000")[0], 0)
        self.assertFalse(os.path.exists(install.path("Output")))
        WINE.driver("close", "Lumigrab")
        self.assertEqual(wait_for_exit(lumigrab, 60), 0)

    def test_a_second_instance_ends_at_once(self):
        install = Install("twice")
        first = self.start(install.exe)
        self.assertEqual(WINE.driver("find", "Lumigrab", "30000")[0], 0)
        second = self.start(install.exe)
        self.assertEqual(wait_for_exit(second, 60), 0)
        self.assertIsNone(first.poll())
        _, listing = WINE.driver("controls", "Lumigrab")
        self.assertEqual(listing.count("Edit|"), 1)  # still the one window
        WINE.driver("close", "Lumigrab")
        self.assertEqual(wait_for_exit(first, 60), 0)

    def test_without_the_skin_the_program_warns_and_ends(self):
        shop = self.start_shop()
        install = Install("noskin", skin=False, packer=ARGS.receiver)
        lumigrab = self.start(install.exe, shop.base + PRODUCT)
        code, box = WINE.driver("box", "ERROR", "30000")
        self.assertEqual(code, 0)
        text, icon = box.splitlines()[:2]
        self.assertEqual(text, 'Error,"stickers.bmp" does not exist')
        self.assertNotEqual(icon, "none")  # the warning icon
        self.assertEqual(wait_for_exit(lumigrab, 60), 0)
        self.assertFalse(os.path.exists(install.path("Output")))
        self.assertNotIn("GET " + PRODUCT, shop.requests())

    def controls(self):
        _, listing = WINE.driver("controls", "Lumigrab")
        return {line.split("|")[0] + ":" + line.split("|")[3]: line.split("|")
                for line in listing.splitlines() if line.count("|") >= 3}

    def wait_for_export_controls(self, enabled):
        """Waits until the URL box and the Export button are both enabled (or
        both disabled); the URL box's line, or None after about 10 s."""
        state = "1" if enabled else "0"
        for _ in range(100):
            c = self.controls()
            edits = [v for k, v in c.items() if k.startswith("Edit:")]
            button = c.get("Button:Export")
            if edits and button and edits[0][1] == state and button[1] == state:
                return edits[0]
            time.sleep(0.1)
        return None

    def test_interactive_export_from_the_window(self):
        shop = self.start_shop(image_delay=0.3)
        install = Install("window")
        lumigrab = self.start(install.exe)
        code, found = WINE.driver("find", "Lumigrab", "30000")
        self.assertEqual(code, 0)
        pid, left, top, width, height, client_x, client_y = map(int, found.split())
        # Centred on the 1920 x 1080 screen of the test X server.
        self.assertEqual((left, top, width, height), (725, 465, 470, 150))

        controls = self.controls()
        edit = [c for key, c in controls.items() if key.startswith("Edit:")][0]
        button = controls["Button:Export"]
        self.assertEqual(edit[3], "")
        self.assertEqual((edit[1], button[1]), ("1", "1"))
        self.assertEqual(button[2], "377,25,50,24")
        self.assertIn("Static:URL:", controls)

        address = shop.base + PRODUCT
        WINE.xdotool("mousemove", str(client_x + 68 + 20), str(client_y + 25 + 12),
                     "click", "1")
        WINE.xdotool("type", "--delay", "15", address)
        WINE.xdotool("mousemove", str(client_x + 377 + 25), str(client_y + 25 + 12),
                     "click", "1")

        # While the pictures come in slowly, both controls are disabled.
        edit = self.wait_for_export_controls(enabled=False)
        self.assertIsNotNone(edit, "the controls were not disabled during the export")
        self.assertEqual(edit[3], address)

        code, box = WINE.driver("box", "mission accomplished", "90000")
        self.assertEqual(code, 0)
        text, icon = box.splitlines()[:2]
        self.assertEqual(text, "Export completed.")
        self.assertNotEqual(icon, "none")  # the information icon
        self.check_export(install, shop)

        self.assertIsNotNone(self.wait_for_export_controls(enabled=True),
                             "the controls were not enabled again")
        WINE.driver("close", "Lumigrab")
        self.assertEqual(wait_for_exit(lumigrab, 60), 0)

    @unittest.skipUnless(os.environ.get("LUMIGRAB_E2E_PACKER", "1") == "1", "no packer")
    def test_the_packer_writes_the_archive(self):
        if not ARGS.packer or not os.path.exists(ARGS.packer):
            self.skipTest("the packer is not built")
        shop = self.start_shop()
        install = Install("packer", packer=ARGS.packer)
        lumigrab = self.start(install.exe, shop.base + PRODUCT)
        self.assertEqual(wait_for_exit(lumigrab), 0)
        archive = install.path("temp", "K-1024.zip")
        for _ in range(600):
            if os.path.exists(archive):
                break
            time.sleep(0.1)
        self.assertTrue(os.path.exists(archive), os.listdir(install.path("temp")))
        test = subprocess.run(["unzip", "-t", archive], stdout=subprocess.PIPE,
                              stderr=subprocess.STDOUT)
        self.assertEqual(test.returncode, 0, test.stdout.decode("utf-8", "replace"))
        with zipfile.ZipFile(archive) as z:
            names = sorted(z.namelist())
            self.assertEqual(names, install.output("K-1024"))
            for name in names:
                with open(install.path("Output", "K-1024", name), "rb") as f:
                    self.assertEqual(z.read(name), f.read(), name)


def main():
    global ARGS
    parser = argparse.ArgumentParser()
    for name in ("wine-run", "prefix", "loader", "lumigrab", "skin", "receiver",
                 "packer", "driver", "shop", "work"):
        parser.add_argument("--" + name, required=name != "packer")
    ARGS, rest = parser.parse_known_args()
    os.makedirs(ARGS.work, exist_ok=True)
    # Start the prefix's wineserver and X server before the first test.
    subprocess.run([ARGS.wine_run, ARGS.prefix, ARGS.loader, "cmd.exe", "/c", "exit"],
                   stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL,
                   stderr=subprocess.DEVNULL, check=False)
    unittest.main(argv=[sys.argv[0]] + rest, verbosity=2)


if __name__ == "__main__":
    main()
