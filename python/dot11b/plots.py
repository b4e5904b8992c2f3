"""The curves the plot views draw (spectrum, CCDF, eye), as numpy arrays."""

from ._dot11b import plots as _curves

spectrum = _curves.spectrum
ccdf = _curves.ccdf
eye = _curves.eye

__all__ = ["ccdf", "eye", "spectrum"]
