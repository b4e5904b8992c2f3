"""IEEE 802.11b waveforms from Python: dot11b-gen's generator, dot11b-analyze's
analyser, the waveform files of both and the plot curves, in-process and with
numpy arrays. Options are the tools' long options with "_" for "-"."""

from ._dot11b import (Recording, Waveform, analyze, analyze_file, estimate, generate, read, write,
                      write_markers)
from . import plots

__all__ = ["Recording", "Waveform", "analyze", "analyze_file", "estimate", "generate", "plots", "read", "write",
           "write_markers"]
