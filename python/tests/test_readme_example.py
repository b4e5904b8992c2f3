"""The README's Python example runs as written and prints what the README shows."""

import os
import pathlib
import re
import subprocess
import sys

import dot11b

README = pathlib.Path(__file__).parents[2] / "README.md"


def python_section():
    text = README.read_text(encoding="utf-8")
    return text.split("\n## Python\n", 1)[1].split("\n## ", 1)[0]


def test_readme_example_runs_and_prints_what_the_readme_shows(tmp_path):
    section = python_section()
    (code,) = re.findall(r"```python\n(.*?)```", section, re.S)
    printed = re.search(r"It prints\n\n```\n(.*?)```", section, re.S).group(1)
    # The package this test imports, wherever the example runs.
    package_root = str(pathlib.Path(dot11b.__file__).resolve().parents[1])
    env = {**os.environ, "MPLBACKEND": "Agg", "MPLCONFIGDIR": str(tmp_path / "mpl"), "PYTHONPATH": package_root}
    done = subprocess.run([sys.executable, "-c", code], cwd=tmp_path, env=env, capture_output=True, text=True,
                          check=False)
    assert done.returncode == 0, done.stderr
    assert done.stdout == printed
    assert "FCS valid, PSDU intact" in done.stdout
    image = tmp_path / "python-spectrum.png"
    assert image.read_bytes()[:8] == b"\x89PNG\r\n\x1a\n"
