"""Writes a MAT-file with SciPy from the JSON form that mat_to_json.py prints,
storing whole numbers as int64, rows of bits as uint8 and 0/1 scalars named in
the JSON's "logical" list as logical, the way other writers store them."""
import json
import sys

import numpy as np
import scipy.io


def build(v, logical):
    if v["class"] == "struct":
        return {name: build(field, logical) if name not in logical else np.array([[bool(field["real"][0])]])
                for name, field in v["fields"]}
    if v["class"] == "cell":
        cells = np.empty(tuple(v["shape"]), dtype=object)
        for i, c in enumerate(v["cells"]):
            cells[np.unravel_index(i, cells.shape, order="F")] = build(c, logical)
        return cells
    if v["class"] == "char":
        if v["shape"][0] == 0:
            return np.empty((0, 0), dtype="U1")
        if v["shape"][0] == 1:
            return v["text"]
        rows = v["shape"][0]
        return np.array([v["text"][r::rows] for r in range(rows)])
    shape = tuple(v["shape"])
    real = np.array(v["real"], dtype=float)
    if "imag" in v:
        return (real + 1j * np.array(v["imag"])).reshape(shape, order="F")
    if real.size > 1 and np.all((real == 0) | (real == 1)):
        return real.astype(np.uint8).reshape(shape, order="F")
    if real.size == 1 and real[0] == np.floor(real[0]) and abs(real[0]) < 2 ** 53:
        return np.array([[int(real[0])]], dtype=np.int64)
    return real.reshape(shape, order="F")


contents = json.load(open(sys.argv[2]))
logical = set(contents.get("logical", []))
scipy.io.savemat(sys.argv[1], {name: build(v, logical) for name, v in contents["variables"].items()},
                 do_compression=True)
