"""The studio's page in headless Chromium, driven through its driver as a
person would drive it: on the built-in million-triangle source, two strokes
drawn with the mouse and ENTER make a patch of 144 quads on the source (as
the host reports it through the page's command line); Ctrl+Z takes it back
and Ctrl+Shift+Z brings it again; the page's buttons export and save; an
error shows on the page with its text. Screenshots are kept in ARTEFACTS.

    browser_test.py TESSARK WORKDIR ARTEFACTS

Exits 77 (skipped) when this machine has no Chromium, ChromeDriver or
Selenium for Debian's python3 (./run.sh test installs them).
"""

import os
import shutil
import sys
import time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from studio_process import Studio, scratch  # noqa: E402

SKIP = 77
CHROMIUM = "/usr/bin/chromium"
DRIVER = "/usr/bin/chromedriver"

try:
    from selenium import webdriver
    from selenium.webdriver.chrome.service import Service
    from selenium.webdriver.common.action_chains import ActionChains
    from selenium.webdriver.common.actions.action_builder import ActionBuilder
    from selenium.webdriver.common.by import By
    from selenium.webdriver.common.keys import Keys
except ImportError as e:
    print(f"studio browser test skipped: no Selenium for {sys.executable} ({e}); "
          "./run.sh test installs python3-selenium")
    sys.exit(SKIP)


def wait_for(what, condition, timeout=180):
    deadline = time.time() + timeout
    while time.time() < deadline:
        value = condition()
        if value:
            return value
        time.sleep(0.2)
    raise AssertionError(f"timed out waiting for {what}")


class Page:
    def __init__(self, driver):
        self.d = driver
        self.view = driver.find_element(By.ID, "viewport")

    def js(self, script):
        return self.d.execute_script(script)

    def mesh_paths(self):
        return self.js("return [...window.studioView.meshes.keys()]")

    def stroke(self, fx, fy0, fy1, samples=16):
        """A left-button drag down the view, in fractions of its size."""
        w, h = self.view.size["width"], self.view.size["height"]
        at = lambda fx, fy: (int(w * fx) - w // 2, int(h * fy) - h // 2)  # from the centre
        actions = ActionBuilder(self.d, duration=0)
        actions.pointer_action.move_to(self.view, *at(fx, fy0))
        actions.pointer_action.pointer_down()
        for i in range(1, samples + 1):
            actions.pointer_action.move_to(self.view, *at(fx, fy0 + (fy1 - fy0) * i / samples))
        actions.pointer_action.pointer_up()
        actions.perform()

    def keys(self, *keys, ctrl=False, shift=False):
        self.js("document.getElementById('viewport').focus()")
        chain = ActionChains(self.d)
        if ctrl:
            chain.key_down(Keys.CONTROL)
        if shift:
            chain.key_down(Keys.SHIFT)
        chain.send_keys(*keys)
        if shift:
            chain.key_up(Keys.SHIFT)
        if ctrl:
            chain.key_up(Keys.CONTROL)
        chain.perform()

    def command(self, text):
        """Runs text at the page's command line; what the host showed."""
        before = self.js("return window.studio.results.length")
        field = self.d.find_element(By.ID, "command")
        field.send_keys(text + Keys.ENTER)
        reply = wait_for(f"the result of {text}", lambda: self.js(
            f"const r = window.studio.results.slice({before}).find(r => r.text === {text!r});"
            "return r ? JSON.stringify(r) : null"))
        import json
        return json.loads(reply)

    def results(self, text):
        return [m["text"] for m in self.command(text)["messages"] if m["kind"] in ("result", "error")]

    def screenshot(self, path):
        self.d.save_screenshot(path)
        with open(path, "rb") as f:
            data = f.read()
        assert data.startswith(b"\x89PNG\r\n\x1a\n") and len(data) > 10000, f"{path} is no picture"


START = time.time()


def step(text):
    print(f"[{time.time() - START:6.1f} s] {text}", flush=True)


def main():
    tessark, work, artefacts = sys.argv[1], scratch(sys.argv[2]), sys.argv[3]
    for program in (CHROMIUM, DRIVER):
        if not shutil.which(program):
            print(f"studio browser test skipped: {program} is missing; "
                  "./run.sh test installs chromium and chromium-driver")
            return SKIP
    os.makedirs(artefacts, exist_ok=True)
    studio = Studio(tessark, work)
    options = webdriver.ChromeOptions()
    options.binary_location = CHROMIUM
    for a in ["--headless=new", "--no-sandbox", "--window-size=1280,900",
              "--use-angle=swiftshader", "--enable-unsafe-swiftshader",
              # Nothing of the browser's own reaches out: the machine may have no network.
              "--no-first-run", "--disable-background-networking", "--disable-component-update",
              "--disable-sync", "--disable-quic",
              f"--user-data-dir={os.path.join(work, 'chromium')}"]:
        options.add_argument(a)
    driver = webdriver.Chrome(service=Service(DRIVER), options=options)
    try:
        driver.get(studio.url)
        page = Page(driver)
        wait_for("the source on the page", lambda: page.js(
            "const m = window.studioView.meshes.get('|source|sourceShape');"
            "return m && m.header.triangles === 1000000 && window.studioView.frames > 0"))

        step("the source is on the page")
        page.stroke(0.36, 0.25, 0.75)
        page.stroke(0.64, 0.25, 0.75)
        step("two strokes drawn")
        page.keys(Keys.ENTER)
        wait_for("the patch on the page", lambda: any("kvMeshShape" in p for p in page.mesh_paths()))
        step("the patch is on the page")
        assert page.results("polyEvaluate -f kvMeshShape") == ["144"]
        summary = "\n".join(m["text"] for m in page.command(
            "hostReport -summary -surface source -tolerance 0.001")["messages"])
        assert ": 144 quads, 0 other polygons, 169 vertices" in summary, summary
        assert "sourceShape: 169 of 169 vertices within 0.001" in summary, summary
        time.sleep(1)  # the last frame painted
        page.screenshot(os.path.join(artefacts, "studio-patch.png"))

        step("144 quads on the source")
        page.keys("z", ctrl=True)
        wait_for("the patch undone", lambda: not any("kvMeshShape" in p for p in page.mesh_paths()))
        assert page.results("ls -type mesh") == ["sourceShape"]
        time.sleep(1)
        page.screenshot(os.path.join(artefacts, "studio-undone.png"))
        page.keys("z", ctrl=True, shift=True)
        wait_for("the patch redone", lambda: any("kvMeshShape" in p for p in page.mesh_paths()))

        step("undone and redone")
        # The page's controls run the host's commands.
        driver.find_element(By.ID, "objFile").clear()
        driver.find_element(By.ID, "objFile").send_keys("patch.obj")
        driver.find_element(By.ID, "exportObj").click()
        driver.find_element(By.ID, "saveScene").click()
        wait_for("the exported mesh", lambda: os.path.exists(os.path.join(studio.work, "patch.obj")))
        wait_for("the saved scene", lambda: os.path.exists(os.path.join(studio.work, "studio.tsk")))
        with open(os.path.join(studio.work, "patch.obj")) as f:
            faces = sum(1 for line in f if line.startswith("f "))
        assert faces == 144, f"the exported mesh has {faces} faces"
        driver.find_element(By.ID, "uSpans").clear()
        driver.find_element(By.ID, "uSpans").send_keys("6")
        driver.find_element(By.ID, "applySpans").click()
        wait_for("the span count", lambda: page.results("optionVar -q kv_uspan") == ["6"], 60)

        # Errors show on the page with their text.
        page.command("noSuchCommand 1")
        wait_for("the error on the page", lambda: 'Cannot find procedure "noSuchCommand".' in
                 driver.find_element(By.ID, "errors").text)
        problems = [e for e in driver.get_log("browser")
                    if e["level"] == "SEVERE" and "favicon" not in e["message"]]
        assert not problems, f"the page reported problems: {problems}"
    finally:
        driver.quit()
        status = studio.stop()
    assert status == 0, f"the studio stopped with status {status}; its log: {studio.log_path}"
    print(f"studio browser test: passed; screenshots in {artefacts}")
    return 0


if __name__ == "__main__":
    sys.exit(main())
