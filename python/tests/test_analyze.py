"""analyze() and analyze_file() against dot11b-analyze --json."""

import json

import numpy as np
import pytest

import dot11b

RATE = 38.5e6

# A recording made by dot11b-gen, and the options it is analysed with, as
# keyword arguments and as the command line.
RECORDINGS = [
    ("r.sigmf-meta", [], {}, []),
    ("r.cf32", ["--mac-header", "--fcs", "--length", "60", "--rate", "5.5"], {"sample_rate": RATE, "fcs": True},
     ["--sample-rate", "38500000", "--fcs"]),
    ("r.wfm", ["--mirror", "--rate", "2", "--length", "30"],
     {"sample_rate": RATE, "mirror": True, "carrier_frequency": 2.484e9},
     ["--sample-rate", "38500000", "--mirror", "--carrier-frequency", "2484000000"]),
    ("r.mat", ["--rate", "1", "--length", "20", "--oversampling", "2", "--mac-header"], {"mac_header": True},
     ["--mac-header"]),
]


def reports_of(out):
    return [json.loads(line) for line in out.splitlines()]


@pytest.mark.parametrize("name, generator, options, arguments", RECORDINGS)
def test_analysis_equals_dot11b_analyze(tmp_path, tool, name, generator, options, arguments):
    path = tmp_path / name
    tool("dot11b-gen", *generator, "-o", path)
    _, out, _ = tool("dot11b-analyze", path, *arguments, "--json")
    expected = reports_of(out)
    assert len(expected) == 1 and expected[0]["burst"] == 1

    assert dot11b.analyze_file(path, **options) == expected
    in_memory = {key: value for key, value in options.items() if key != "sample_rate"}
    recording = dot11b.read(path, sample_rate=options.get("sample_rate"))
    if recording.frequency is not None:
        in_memory.setdefault("carrier_frequency", recording.frequency)
    if recording.filter is not None:
        in_memory.setdefault("reference_filter", recording.filter)
    assert dot11b.analyze(recording.iq, recording.sample_rate, **in_memory) == expected


def test_a_recording_without_bursts_gives_the_tools_one_object(tmp_path, tool):
    path = tmp_path / "silence.cf32"
    np.zeros(4000, np.complex64).tofile(path)
    _, out, _ = tool("dot11b-analyze", path, "--sample-rate", "22000000", "--json", check=False)
    assert dot11b.analyze(np.zeros(4000), 22e6) == reports_of(out)


@pytest.mark.parametrize("options", [
    {"rate": 5.5, "modulation": "pbcc", "mac_header": True, "fcs": True, "length": 33},
    {"rate": 11, "payload": b"\x00\x01\x02\xfe\xff"},
])
def test_psdu_is_what_the_analyser_decodes(options):
    waveform = dot11b.generate(**options)
    (report,) = dot11b.analyze(waveform, waveform.sample_rate)
    assert report["psdu"] == waveform.psdu.hex()


def test_bad_analysis_input_raises_the_tools_message(tmp_path, tool):
    path = tmp_path / "r.cf32"
    tool("dot11b-gen", "-o", path)
    samples = dot11b.read(path, RATE).iq
    cases = [
        (lambda: dot11b.analyze_file(path, sample_rate=RATE, carrier_frequency=-1),
         [path, "--sample-rate", "38500000", "--carrier-frequency", "-1"], ValueError),
        (lambda: dot11b.analyze_file(path), [path], ValueError),
        (lambda: dot11b.analyze_file(tmp_path / "none.cf32", sample_rate=RATE),
         [tmp_path / "none.cf32", "--sample-rate", "38500000"], OSError),
    ]
    for call, arguments, error in cases:
        _, _, err = tool("dot11b-analyze", *arguments, check=False)
        with pytest.raises(error) as raised:
            call()
        assert err.splitlines()[0].removeprefix("dot11b-analyze: ") == str(raised.value)
    with pytest.raises(TypeError, match="json"):
        dot11b.analyze(samples, RATE, json=True)
    with pytest.raises(TypeError, match="sample_rate"):
        dot11b.analyze(samples, RATE, fcs=True, **{"sample_rate": RATE})
    with pytest.raises(ValueError, match="one-dimensional"):
        dot11b.analyze(samples.reshape(2, -1), RATE)
    with pytest.raises(ValueError):
        dot11b.analyze(samples, 1e6)
