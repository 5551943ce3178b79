#!/usr/bin/env python3
"""zip.exe end to end, checked on the build host.

Usage: packer_archive_check.py WORK-DIR ZIP.EXE PACKER_SEND.EXE -- EMULATOR...

Makes a program folder with zip.exe and temp, an export folder with Chinese
names under Output, runs packer_send (which plays the exporting program and
hands the folder to zip.exe) under the emulator, and checks the archive with
Info-ZIP's unzip and Python's reader: every file intact, byte for byte,
under its UTF-8 name, pictures stored and text deflated, nothing else in it
and nothing left beside it.
"""
import os
import random
import shutil
import subprocess
import sys
import zipfile


def windows_path(path):
    # Wine's Z: drive is the host's root.
    return "Z:" + os.path.abspath(path).replace("/", "\\")


def fail(message):
    print("packer_archive_check: " + message, file=sys.stderr)
    sys.exit(1)


def main():
    if len(sys.argv) < 6 or sys.argv[4] != "--":
        fail(__doc__)
    work, zip_exe, sender = sys.argv[1:4]
    emulator = sys.argv[5:]

    shutil.rmtree(work, ignore_errors=True)
    app = os.path.join(work, "app")
    os.makedirs(os.path.join(app, "temp"))
    shutil.copy(zip_exe, os.path.join(app, "zip.exe"))
    folder_name = "秀衣坊A1001"
    folder = os.path.join(app, "Output", folder_name)
    os.makedirs(os.path.join(folder, "sub"))

    noise = random.Random(20240102)
    files = {
        "产品图1_202401021234.jpg": bytes(noise.getrandbits(8) for _ in range(40000)),
        "产品图2_202401021234.png": bytes(noise.getrandbits(8) for _ in range(700)),
        "预览图1_202401021234.gif": b"",
        "A1001.ac.txt": "@版本：1.0\r\n@link：https://shop.example/item/A1001\r\n".encode("gbk") * 40,
        "a..b.txt": b"dots inside a name are harmless\n" * 10,
    }
    compressed = {"A1001.ac.txt", "a..b.txt"}
    for name, data in files.items():
        with open(os.path.join(folder, name), "wb") as f:
            f.write(data)
    with open(os.path.join(folder, "sub", "inner.txt"), "wb") as f:
        f.write(b"not a file of the folder itself")

    archive = os.path.join(app, "temp", folder_name + ".zip")
    run = subprocess.run(emulator + [sender, windows_path(os.path.join(app, "zip.exe")),
                                     windows_path(folder), windows_path(archive)],
                         stdin=subprocess.DEVNULL, capture_output=True, timeout=240)
    log_path = os.path.join(app, "zip.log")
    log = open(log_path, encoding="utf-8").read() if os.path.exists(log_path) else ""
    if run.returncode != 0:
        fail("packer_send ended with %d\n%s%s\nzip.log:\n%s" %
             (run.returncode, run.stdout.decode(errors="replace"),
              run.stderr.decode(errors="replace"), log))
    if "packed %d files" % len(files) not in log:
        fail("zip.log does not report the files:\n" + log)
    if os.listdir(os.path.join(app, "temp")) != [folder_name + ".zip"]:
        fail("temp holds " + repr(os.listdir(os.path.join(app, "temp"))))

    env = dict(os.environ, LC_ALL="C.UTF-8")
    test = subprocess.run(["unzip", "-t", archive], capture_output=True, env=env)
    if test.returncode != 0 or b"No errors detected" not in test.stdout:
        fail("unzip -t:\n" + test.stdout.decode(errors="replace"))
    listed = subprocess.run(["unzip", "-Z1", archive], capture_output=True, env=env)
    if listed.stdout.decode().splitlines() != sorted(files, key=lambda n: n.encode()):
        fail("unzip lists " + repr(listed.stdout.decode()))

    with zipfile.ZipFile(archive) as z:
        # Python reads a name as UTF-8 only when the language-encoding flag
        # is set.
        if sorted(z.namelist()) != sorted(files):
            fail("the archive holds " + repr(z.namelist()))
        for info in z.infolist():
            if not info.flag_bits & 0x800:
                fail(info.filename + " lacks the language-encoding flag")
            if z.read(info) != files[info.filename]:
                fail(info.filename + " differs from the file in the folder")
            method = zipfile.ZIP_DEFLATED if info.filename in compressed else zipfile.ZIP_STORED
            if info.compress_type != method:
                fail("%s: method %d" % (info.filename, info.compress_type))

    shutil.rmtree(work, ignore_errors=True)
    print("packer_archive_check: %d files intact in %s.zip" % (len(files), folder_name))


if __name__ == "__main__":
    main()
