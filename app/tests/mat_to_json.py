"""Prints the named variables of a MAT-file, as SciPy reads them, as JSON:
numbers with their class, shape and column-major elements, text with its
shape, structures as ordered [name, value] pairs, cells as lists."""
import json
import sys

import numpy as np
import scipy.io


def convert(a):
    shape = [int(n) for n in a.shape]
    if a.dtype.names is not None:
        # A 1x1 structure: its fields in file order.
        return {"class": "struct", "shape": shape,
                "fields": [[name, convert(a[name].flat[0])] for name in a.dtype.names]}
    if a.dtype.kind == "U":
        return {"class": "char", "shape": shape, "text": "".join(a.flatten(order="F"))}
    if a.dtype.kind == "O":
        return {"class": "cell", "shape": shape, "cells": [convert(c) for c in a.flatten(order="F")]}
    flat = a.flatten(order="F")
    out = {"class": str(a.dtype), "shape": shape, "real": [float(x) for x in flat.real]}
    if np.iscomplexobj(a):
        out["imag"] = [float(x) for x in flat.imag]
    return out


# Characters stored in 16-bit units are UTF-16, as MATLAB writes them.
contents = scipy.io.loadmat(sys.argv[1], chars_as_strings=False, squeeze_me=False, uint16_codec="utf-16-le")
print(json.dumps({name: convert(contents[name]) for name in sys.argv[2:] if name in contents}))
