#!/usr/bin/python3
"""Makes the live engine's template: the template workbook as .ods with the
Basic module Charts (Sub Redraw) in its Standard library, the defined
names that mark its three sheets, and the one on its submergence cell.

    /usr/bin/python3 templates/live/make_live_template.py [TEMPLATE.xlsx [OUTPUT.ods]]

Runs a private headless LibreOffice (own pipe, own profile) and ends it by
the PID it started; a LibreOffice the user runs is left alone. Needs
python3-uno (Debian's /usr/bin/python3, not another interpreter)."""

import os
import shutil
import signal
import subprocess
import sys
import tempfile
import time

import uno
from com.sun.star.beans import PropertyValue
from com.sun.star.connection import NoConnectException

HERE = os.path.dirname(os.path.abspath(__file__))
SOFFICE = "/usr/lib/libreoffice/program/soffice"


def prop(name, value):
    p = PropertyValue()
    p.Name = name
    p.Value = value
    return p


def connect(pipe, office, deadline):
    local = uno.getComponentContext()
    resolver = local.ServiceManager.createInstanceWithContext("com.sun.star.bridge.UnoUrlResolver", local)
    while True:
        try:
            return resolver.resolve("uno:pipe,name=%s;urp;StarOffice.ComponentContext" % pipe)
        except NoConnectException:
            if office.poll() is not None:
                sys.exit("LibreOffice ended at its start with status %d" % office.returncode)
            if time.time() > deadline:
                sys.exit("LibreOffice did not answer on its pipe")
            time.sleep(0.25)


# The workbook-level names that mark the template's sheets; they come with
# the .xlsx template, which defines them on the cells the cell map gives.
SHEET_NAMES = ("VK_Test", "VK_InitialAnalysis", "VK_Results")
# The diffuser's submergence, which a campaign reads by this name only.
OTHER_NAMES = ("DiffuserSubmergence",)


def make(source, target, context):
    desktop = context.ServiceManager.createInstanceWithContext("com.sun.star.frame.Desktop", context)
    doc = desktop.loadComponentFromURL(uno.systemPathToFileUrl(source), "_blank", 0, (prop("Hidden", True),))
    try:
        for name in SHEET_NAMES + OTHER_NAMES:
            if not doc.NamedRanges.hasByName(name):
                sys.exit("%s has no defined name %s; make it with make-workbooks first" % (source, name))
        with open(os.path.join(HERE, "Redraw.bas"), encoding="utf-8") as f:
            code = f.read()
        libraries = doc.BasicLibraries
        if not libraries.hasByName("Standard"):
            libraries.createLibrary("Standard")
        standard = libraries.getByName("Standard")
        if standard.hasByName("Charts"):
            standard.removeByName("Charts")
        standard.insertByName("Charts", code)
        doc.storeToURL(uno.systemPathToFileUrl(target), (prop("FilterName", "calc8"), prop("Overwrite", True)))
    finally:
        doc.close(True)


def main():
    source = os.path.abspath(sys.argv[1] if len(sys.argv) > 1 else os.path.join(HERE, "..", "template.xlsx"))
    target = os.path.abspath(sys.argv[2] if len(sys.argv) > 2 else os.path.join(HERE, "template.ods"))
    work = tempfile.mkdtemp(prefix="vk-live-template-")
    pipe = "vk_live_template_%d" % os.getpid()
    env = dict(os.environ, LC_ALL="C.UTF-8")
    office = subprocess.Popen(
        [SOFFICE, "--headless", "--invisible", "--nologo", "--norestore", "--nodefault",
         "-env:UserInstallation=" + uno.systemPathToFileUrl(os.path.join(work, "profile")),
         "--accept=pipe,name=%s;urp;" % pipe],
        env=env, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, start_new_session=True)
    try:
        make(source, target, connect(pipe, office, time.time() + 180))
        print("wrote", target)
    finally:
        # The office and its wrapper share the process group it was started in.
        os.killpg(office.pid, signal.SIGTERM)
        try:
            office.wait(timeout=30)
        except subprocess.TimeoutExpired:
            os.killpg(office.pid, signal.SIGKILL)
            office.wait()
        shutil.rmtree(work, ignore_errors=True)


if __name__ == "__main__":
    main()
