"""generate() and estimate() against dot11b-gen with the same options."""

import gc
import json
import re
import sys
import threading
import time

import numpy as np
import pytest

import dot11b

PAYLOAD = b"\x01\x80user data\xff"

# Keyword arguments and the command line that must build the same waveform,
# written out by hand.
SAME_WAVEFORM = [
    ({}, []),
    ({"rate": 1, "length": 100, "ramp": "cosine", "ramp_time": 1.5},
     ["--rate", "1", "--length", "100", "--ramp", "cosine", "--ramp-time", "1.5"]),
    ({"rate": 5.5, "modulation": "pbcc", "preamble": "short", "payload": "pn9", "length": 60, "oversampling": 2.5},
     ["--rate", "5.5", "--modulation", "pbcc", "--preamble", "short", "--payload", "pn9", "--length", "60",
      "--oversampling", "2.5"]),
    ({"rate": "2", "filter": "root-cosine", "filter_factor": 0.35, "filter_length": 8, "oversampling": 2.0,
      "mirror": True, "scrambler": "preamble-only", "idle_time": 10},
     ["--rate", "2", "--filter", "root-cosine", "--filter-factor", "0.35", "--filter-length", "8",
      "--oversampling", "2", "--mirror", "--scrambler", "preamble-only", "--idle-time", "10"]),
    ({"mac_header": True, "fcs": True, "mac": {"Address1": "00:A0:C9:12:34:56", "SeqCntrl": "0010"},
      "mac_off": ["Address4"], "length": 40, "locked_clocks": True, "mirror": False},
     ["--mac-header", "--fcs", "--mac", "Address1=00:A0:C9:12:34:56", "--mac", "SeqCntrl=0010", "--mac-off",
      "Address4", "--length", "40", "--locked-clocks"]),
    ({"unframed": True, "modulation": "pbcc", "rate": 22, "length": 1023, "pbcc_encoder": False},
     ["--unframed", "--modulation", "pbcc", "--rate", "22", "--length", "1023", "--pbcc-encoder", "off"]),
    ({"payload": PAYLOAD, "rate": 11}, ["--payload-file", "{payload_file}", "--rate", "11"]),
]


@pytest.mark.parametrize("options, arguments", SAME_WAVEFORM)
def test_generate_equals_dot11b_gen(tmp_path, tool, options, arguments):
    (tmp_path / "payload.bin").write_bytes(PAYLOAD)
    arguments = [a.format(payload_file=tmp_path / "payload.bin") for a in arguments]
    _, out, _ = tool("dot11b-gen", *arguments, "-o", tmp_path / "gen.cf32", "--markers", tmp_path / "gen.markers",
                     "--json")
    waveform = dot11b.generate(**options)
    iq, markers, summary = waveform.iq, waveform.markers, waveform.summary
    del waveform
    gc.collect()  # the arrays own their samples

    assert iq.dtype == np.complex64 and iq.ndim == 1
    assert iq.tobytes() == (tmp_path / "gen.cf32").read_bytes()
    assert markers.dtype == np.uint8 and markers.shape == (2, len(iq))
    assert (markers[0] | markers[1] << 1).tobytes() == (tmp_path / "gen.markers").read_bytes()
    assert summary == {**json.loads(out), "outputs": []}

    status, out, err = tool("dot11b-gen", *arguments, "--estimate", check=False)
    if status == 0:
        assert dot11b.estimate(**options) == float(out)
    else:
        with pytest.raises(ValueError) as raised:
            dot11b.estimate(**options)
        assert err.startswith(f"dot11b-gen: {raised.value}\n")


# Values the command line refuses: the error carries its message.
REFUSED = [
    ({"rate": 7}, ["--rate", "7"], ValueError),
    ({"ramp_time": 5000}, ["--ramp-time", "5000"], ValueError),
    ({"filter_factor": 5}, ["--filter-factor", "5"], ValueError),
    ({"oversampling": 4}, ["--oversampling", "4"], ValueError),
    ({"length": 2313}, ["--length", "2313"], ValueError),
    ({"payload": "pn7"}, ["--payload", "pn7"], ValueError),
    ({"rate": 22}, ["--rate", "22"], ValueError),
    ({"rate": 1, "preamble": "short"}, ["--rate", "1", "--preamble", "short"], ValueError),
    ({"mac": {"Bogus": "1"}}, ["--mac", "Bogus=1"], ValueError),
    ({"mac": ["Address1=00:A0"]}, ["--mac", "Address1=00:A0"], ValueError),
    ({"params": "/nonexistent/p.mat"}, ["--params", "/nonexistent/p.mat"], OSError),
]


@pytest.mark.parametrize("options, arguments, error", REFUSED)
def test_refused_values_raise_the_command_lines_message(tool, options, arguments, error):
    status, _, err = tool("dot11b-gen", *arguments, check=False)
    assert status != 0
    with pytest.raises(error) as raised:
        dot11b.generate(**options)
    message = err.splitlines()[0].removeprefix("dot11b-gen: ")
    assert str(raised.value) == message


@pytest.mark.parametrize("options, named", [
    ({"cfo_hz": 1}, "cfo_hz"),
    ({"ramp-time": 2}, "ramp-time"),
    ({"output": "x.wfm"}, "output"),
    ({"mirror": "yes"}, "mirror"),
    ({"rate": [1, 2]}, "rate"),
    ({"mac": {"Address1": 5}}, "mac"),
])
def test_keywords_the_options_do_not_take_raise_type_error(options, named):
    with pytest.raises(TypeError, match=named):
        dot11b.generate(**options)


# A binding that swapped the rows would fail here: the frame (row 0) lies
# inside the burst (row 1), which adds the two ramps to it.
def test_marker_rows_are_the_frame_then_the_burst():
    waveform = dot11b.generate(rate=2, length=50, ramp_time=2)
    frame, burst = waveform.markers.astype(bool)
    assert frame.any() and not (frame & ~burst).any()
    assert burst.sum() - frame.sum() == 2 * waveform.summary["ramp"]["samples"]
    assert not waveform.iq.flags.writeable and not waveform.markers.flags.writeable


LARGEST_FRAME = {"rate": 1, "preamble": "long", "mac_header": True, "fcs": True, "payload": "pn9", "length": 2312,
                 "oversampling": 3.5, "filter": "gaussian"}


# Without time slices the interpreter switches threads only where one lets go
# of it. Each thread's span of calls overlaps the other's only if generate()
# lets go while the core builds the waveform; holding on serialises them.
def test_two_threads_generate_at_once():
    spans = {}
    ready = threading.Barrier(2)

    def work(name):
        ready.wait()
        start = time.monotonic()
        for _ in range(3):
            dot11b.generate(**LARGEST_FRAME)
        spans[name] = (start, time.monotonic())

    interval = sys.getswitchinterval()
    sys.setswitchinterval(1000)
    try:
        threads = [threading.Thread(target=work, args=(name,)) for name in "ab"]
        for thread in threads:
            thread.start()
        for thread in threads:
            thread.join()
    finally:
        sys.setswitchinterval(interval)
    (a_start, a_end), (b_start, b_end) = spans["a"], spans["b"]
    assert a_start < b_end and b_start < a_end


# The keywords users are told about, impairments included.
DOCUMENTED = {"rate", "modulation", "preamble", "unframed", "scrambler", "ramp", "ramp_time", "idle_time",
              "oversampling", "filter", "filter_factor", "filter_length", "mirror", "locked_clocks", "pbcc_encoder",
              "mac_header", "mac", "fcs", "payload", "length", "params", "frames", "pa_backoff", "iq_gain",
              "iq_phase", "dc_offset", "clock_offset", "cfo", "snr", "seed"}


# Each option's help states its default and, for numbers, its range; giving
# the stated default builds the waveform that leaving it out builds.
def test_help_lists_every_option_with_the_default_it_has():
    doc = dot11b.generate.__doc__.split("Options\n-------\n", 1)[1]
    entries = {name: (kind, " ".join(text.split()))
               for name, kind, text in re.findall(r"^(\w+) : (.*)\n((?:    .*\n)+)", doc, re.M)}
    assert DOCUMENTED <= entries.keys()
    plain = dot11b.generate().iq.tobytes()
    for name, (kind, text) in entries.items():
        stated = re.search(r"\(default (.*?)\)$", text)
        assert stated, name
        if kind.startswith(("float", "int")):
            assert " to " in kind or " to " in text, name
        value = stated.group(1)
        # mac's default is each field's; the start-up filter length, 6 symbols at
        # oversampling 3.5, is one an entry cannot give: 6 rounds up to 7.
        if value.startswith("None") or name in ("mac", "filter_length"):
            continue
        value = value == "True" if kind == "bool" else value
        assert dot11b.generate(**{name: value}).iq.tobytes() == plain, name
