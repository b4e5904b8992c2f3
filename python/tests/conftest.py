"""The command-line tools the module is compared with, run as processes."""

import os
import pathlib
import subprocess

import pytest

BIN = pathlib.Path(os.environ.get("DOT11B_BIN", pathlib.Path(__file__).parents[2] / "build" / "bin"))


def run_tool(name, *args, check=True):
    """Runs build/bin/NAME with the arguments; returns (exit status, stdout, stderr)."""
    done = subprocess.run([str(BIN / name), *map(str, args)], capture_output=True, text=True, check=False)
    if check and done.returncode != 0:
        raise AssertionError(f"{name} {args} exited with {done.returncode}: {done.stderr}")
    return done.returncode, done.stdout, done.stderr


@pytest.fixture(name="tool")
def tool_fixture():
    return run_tool
