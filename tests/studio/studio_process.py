"""Starts `tessark --serve` on a free port for a test and stops it after."""

import os
import re
import signal
import subprocess
import tempfile
import threading
import time


class Studio:
    def __init__(self, tessark, work, source=None, ready_timeout=300):
        os.makedirs(work, exist_ok=True)
        self.work = work
        self.log_path = os.path.join(work, "studio.log")
        args = [tessark, "--prefs", os.path.join(work, "prefs"), "--serve", "--port", "0"]
        if source:
            args.append(source)
        self.log = open(self.log_path, "w")
        self.process = subprocess.Popen(args, cwd=work, stdout=subprocess.PIPE,
                                        stderr=subprocess.STDOUT, text=True)
        self.lines = []
        self.port = None
        ready = threading.Event()

        def pump():
            for line in self.process.stdout:
                self.log.write(line)
                self.log.flush()
                self.lines.append(line.rstrip("\n"))
                found = re.search(r"open http://127\.0\.0\.1:(\d+)/", line)
                if found:
                    self.port = int(found.group(1))
                    ready.set()
            ready.set()

        self.reader = threading.Thread(target=pump, daemon=True)
        self.reader.start()
        ready.wait(ready_timeout)
        if self.port is None:
            self.stop()
            raise RuntimeError("the studio did not start:\n" + "\n".join(self.lines))

    @property
    def url(self):
        return f"http://127.0.0.1:{self.port}/"

    def alive(self):
        return self.process.poll() is None

    def stop(self):
        """Stops the studio as Ctrl+C would; its exit status."""
        if self.process.poll() is None:
            self.process.send_signal(signal.SIGINT)
            try:
                self.process.wait(60)
            except subprocess.TimeoutExpired:
                self.process.kill()
                self.process.wait()
        self.reader.join(10)
        self.log.close()
        return self.process.returncode


def scratch(parent):
    os.makedirs(parent, exist_ok=True)
    return tempfile.mkdtemp(dir=parent)
