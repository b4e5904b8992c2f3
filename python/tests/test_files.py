"""read(), write() and write_markers() against the files of dot11b-gen."""

import numpy as np
import pytest

import dot11b

# A Save Wave file begins with a 116-byte text that holds the time it was written.
MAT_HEADER_TEXT = 116


def same_file(written, expected):
    a, b = written.read_bytes(), expected.read_bytes()
    if written.suffix == ".mat":
        a, b = a[MAT_HEADER_TEXT:], b[MAT_HEADER_TEXT:]
    return a == b


@pytest.mark.parametrize("options, arguments", [
    ({}, []),
    ({"rate": 2, "mac_header": True, "fcs": True, "length": 30, "oversampling": 2.5},
     ["--rate", "2", "--mac-header", "--fcs", "--length", "30", "--oversampling", "2.5"]),
])
def test_written_files_equal_dot11b_gens(tmp_path, tool, options, arguments):
    names = ["w.wfm", "w.cf32", "w.sigmf-meta", "w.mat"]
    (tmp_path / "gen").mkdir()
    (tmp_path / "py").mkdir()
    outputs = [a for name in names for a in ("-o", tmp_path / "gen" / name)]
    tool("dot11b-gen", *arguments, *outputs, "--markers", tmp_path / "gen" / "w.markers")
    waveform = dot11b.generate(**options)
    for name in names:
        dot11b.write(tmp_path / "py" / name, waveform)
    dot11b.write_markers(tmp_path / "py" / "w.markers", waveform)
    files = sorted(p.name for p in (tmp_path / "gen").iterdir())
    assert files == sorted(p.name for p in (tmp_path / "py").iterdir())
    for name in files:
        assert same_file(tmp_path / "py" / name, tmp_path / "gen" / name), name


def test_read_gives_what_dot11b_gen_wrote(tmp_path, tool):
    waveform = dot11b.generate(rate=5.5, length=40)
    tool("dot11b-gen", "--rate", "5.5", "--length", "40", "-o", tmp_path / "w.cf32", "-o", tmp_path / "w.sigmf-meta",
         "-o", tmp_path / "w.mat", "-o", tmp_path / "w.wfm", "--frequency", "2.437e9")
    cases = [("w.cf32", 0, None, False), ("w.sigmf-data", 0, 2.437e9, True), ("w.mat", 1e-7, None, False),
             ("w.wfm", 1 / 32766, None, False)]
    peak = np.abs(np.concatenate([waveform.iq.real, waveform.iq.imag])).max()
    for name, tolerance, frequency, has_markers in cases:
        recording = dot11b.read(tmp_path / name, sample_rate=38.5e6)
        assert recording.iq.dtype == np.complex128 and recording.sample_rate == 38.5e6, name
        expected = waveform.iq / peak if name.endswith(".wfm") else waveform.iq
        assert np.abs(recording.iq - expected).max() <= tolerance, name
        assert recording.frequency == frequency, name
        assert np.array_equal(recording.markers, waveform.markers) if has_markers else recording.markers is None


def test_arrays_and_recordings_are_written_as_they_are(tmp_path):
    iq = np.exp(2j * np.pi * np.arange(64) / 16) * 0.5
    markers = np.zeros((2, 64), np.uint8)
    markers[1, 4:60] = 1
    markers[0, 8:56] = 1
    dot11b.write(tmp_path / "a.sigmf-meta", iq, sample_rate=11e6, markers=markers)
    recording = dot11b.read(tmp_path / "a.sigmf-data")
    assert np.allclose(recording.iq, iq, atol=1e-7) and recording.sample_rate == 11e6
    assert np.array_equal(recording.markers, markers)
    dot11b.write(tmp_path / "b.mat", recording)
    assert np.array_equal(dot11b.read(tmp_path / "b.mat").iq, recording.iq)


def test_bad_writes_raise_and_leave_no_file(tmp_path):
    waveform = dot11b.generate(length=10)
    cases = [
        (lambda: dot11b.write(tmp_path / "w.txt", waveform), ValueError),
        (lambda: dot11b.write(tmp_path / "w.sigmf-meta", waveform.iq), ValueError),
        (lambda: dot11b.write(tmp_path / "w.mat", waveform.iq, sample_rate=0), ValueError),
        (lambda: dot11b.write(tmp_path / "w.wfm", waveform, sample_rate=1e6), ValueError),
        (lambda: dot11b.write(tmp_path / "w.sigmf-meta", waveform.iq, 1e6, markers=np.zeros((2, 3))), ValueError),
        (lambda: dot11b.write(tmp_path / "w.cf32", np.array([1, np.nan], complex)), ValueError),
        (lambda: dot11b.write(tmp_path / "missing" / "w.cf32", waveform), OSError),
        (lambda: dot11b.write_markers(tmp_path / "w.markers", np.zeros(5)), ValueError),
    ]
    for write, error in cases:
        with pytest.raises(error):
            write()
    assert list(tmp_path.iterdir()) == []
