#!/usr/bin/python3
"""The web page in headless Chromium: type an ISBN, see the preview change, download the
PDF, and read the page's screenshot with zbarimg.

Usage: browser_test.py STRIMLO-SERVER
Exits 77 (skipped) when Chromium, its driver or Selenium is missing."""
import os
import re
import shutil
import subprocess
import sys
import tempfile
import time

SKIP = 77


def skip(why):
    print("SKIP: " + why + " (scripts/setup.sh installs chromium, chromium-driver, python3-selenium)")
    sys.exit(SKIP)


try:
    from selenium import webdriver
    from selenium.webdriver.chrome.service import Service
    from selenium.webdriver.common.by import By
    from selenium.webdriver.common.keys import Keys
    from selenium.webdriver.support.ui import WebDriverWait
except ImportError:
    skip("python3-selenium is not installed")

CHROMIUM = shutil.which("chromium")
DRIVER = shutil.which("chromedriver")
if not CHROMIUM or not DRIVER:
    skip("chromium or chromedriver is not installed")
if not shutil.which("zbarimg"):
    skip("zbarimg is not installed")


def start_server(program):
    server = subprocess.Popen([program, "--listen", "127.0.0.1:0", "--quiet"],
                              stdout=subprocess.PIPE, text=True)
    line = server.stdout.readline()
    match = re.search(r":(\d+)/", line)
    if not match:
        server.kill()
        sys.exit("the server did not start: " + line)
    return server, "http://127.0.0.1:%s/" % match.group(1)


def browser(downloads):
    options = webdriver.ChromeOptions()
    options.binary_location = CHROMIUM
    for argument in ("--headless=new", "--no-sandbox", "--disable-gpu", "--window-size=1000,1400",
                     "--lang=en-US", "--disable-dev-shm-usage"):
        options.add_argument(argument)
    options.add_experimental_option("prefs", {"download.default_directory": downloads,
                                              "download.prompt_for_download": False})
    return webdriver.Chrome(service=Service(DRIVER), options=options)


def wait_for_file(folder, suffix, seconds=20):
    # Chromium may name the file before its bytes are in it: done when no partial download
    # is left and the size holds still.
    end = time.time() + seconds
    last = None
    while time.time() < end:
        names = os.listdir(folder)
        done = [f for f in names if f.endswith(suffix)]
        if done and not any(f.endswith(".crdownload") for f in names):
            path = os.path.join(folder, done[0])
            size = os.path.getsize(path)
            if size > 0 and size == last:
                return path
            last = size
        time.sleep(0.1)
    return None


def main():
    server, url = start_server(sys.argv[1])
    work = tempfile.mkdtemp(prefix="strimlo-browser-")
    driver = None
    try:
        driver = browser(work)
        wait = WebDriverWait(driver, 20)
        driver.get(url)
        image = driver.find_element(By.ID, "preview-image")
        wait.until(lambda d: image.get_attribute("src"))
        first = image.get_attribute("src")

        # By keyboard: the type list, then the number.
        type_list = driver.find_element(By.ID, "type")
        type_list.send_keys("ISBN-13")
        number = driver.find_element(By.ID, "data")
        number.send_keys(Keys.CONTROL, "a")
        number.send_keys("978-3-16-148410-0")
        wait.until(lambda d: image.get_attribute("src") != first and
                   driver.execute_script("return arguments[0].complete && arguments[0].naturalWidth > 0", image))
        assert driver.find_element(By.ID, "message").text == "", driver.find_element(By.ID, "message").text
        assert driver.find_element(By.CSS_SELECTOR, "label[for=data]").text == "Number"

        # The grade badge: green A, its weakest parameter as the tooltip and as text.
        badge = driver.find_element(By.ID, "grade-badge")
        wait.until(lambda d: badge.is_displayed() and badge.text == "A")
        assert badge.get_attribute("class") == "grade-good", badge.get_attribute("class")
        assert badge.get_attribute("title"), "the badge names no weakest parameter"
        assert badge.get_attribute("title") in driver.find_element(By.ID, "grade-detail").get_attribute("textContent")

        driver.find_element(By.ID, "download-pdf").click()
        pdf = wait_for_file(work, ".pdf")
        assert pdf, "no PDF was downloaded"
        with open(pdf, "rb") as f:
            assert f.read(5) == b"%PDF-", "the download is not a PDF"

        shot = os.path.join(work, "page.png")
        driver.save_screenshot(shot)
        found = subprocess.run(["zbarimg", "--quiet", "--raw", shot], capture_output=True, text=True).stdout
        assert "9783161484100" in found, "zbarimg read %r from the screenshot" % found
        # A QR Code companion with a batch number: the preview shows both symbols. Each key
        # typed makes a preview; the screenshot is read until it shows the last one.
        driver.find_element(By.ID, "companion").send_keys("QR Code")
        driver.find_element(By.ID, "ai").send_keys("(10)ABC123")
        uri = "https://id.gs1.org/01/09783161484100/10/ABC123"
        dual, end = "", time.time() + 20
        while time.time() < end and not (uri in dual and "9783161484100" in dual.replace(uri, "")):
            time.sleep(0.3)
            driver.save_screenshot(shot)
            dual = subprocess.run(["zbarimg", "--quiet", "--raw", shot], capture_output=True, text=True).stdout
        assert uri in dual and "9783161484100" in dual.replace(uri, ""), "zbarimg read %r" % dual
        assert driver.find_element(By.ID, "message").text == "", driver.find_element(By.ID, "message").text
        print("ok: preview changed, graded A, %s downloaded, screenshot reads %s; with its QR Code %s"
              % (os.path.basename(pdf), found.strip(), uri))
    finally:
        if driver:
            driver.quit()
        server.terminate()
        server.wait()
        shutil.rmtree(work, ignore_errors=True)


main()
