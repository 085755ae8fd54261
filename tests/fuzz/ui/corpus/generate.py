#!/usr/bin/env python3
"""Writes the seed inputs of the editor's fuzz targets into the folders beside
this script. Deterministic: the same files on every run. Inputs a fuzz run
found faults with are kept beside the generated ones as regress-* files and
are not touched here.

    tests/fuzz/ui/corpus/generate.py
"""
import pathlib

here = pathlib.Path(__file__).resolve().parent
resource = here.parents[3] / "resource"


def write(target, name, data):
    folder = here / target
    folder.mkdir(exist_ok=True)
    if isinstance(data, str):
        data = data.encode()
    (folder / name).write_bytes(data)


def patterns():
    """byte patterns the input decoders read as plain choices: every choice
    the first one, the last one, and a walk through them"""
    yield "zeros-64", bytes(64)
    yield "ones-64", b"\xff" * 64
    yield "walk-256", bytes(range(256))
    yield "walk-down-256", bytes(reversed(range(256)))
    yield "halves-128", b"\x80" * 128
    yield "mixed-512", bytes((i * 37 + 11) % 256 for i in range(512))


# the attribute and event targets read structured choices from the bytes
for target in ("fuzz_slider_attributes", "fuzz_slider_events"):
    for name, data in patterns():
        write(target, name, data)

# named attributes: the texts are read from the front of the input
write("fuzz_slider_attributes", "texts-orientation",
      b"vertical\x00true\x00ramp\x00fader_cap\x00#10203040\x00" + bytes(range(32)))

# UI descriptions: the project's own, and small ones with sliders
desc = (resource / "plug.uidesc").read_text()
write("fuzz_uidesc", "plug.uidesc", desc)

head = """<?xml version="1.0" encoding="UTF-8"?>
<vstgui-ui-description version="1">
	<bitmaps>
		<bitmap name="fader_track" path="fader_track.png"/>
		<bitmap name="fader_cap" path="fader_cap.png"/>
		<bitmap name="fader_cap#2.0x" path="fader_cap_2.0x.png"/>
	</bitmaps>
	<colors>
		<color name="accent" rgba="#10203040"/>
	</colors>
	<control-tags>
		<control-tag name="Mix" tag="6"/>
	</control-tags>
"""
tail = "</vstgui-ui-description>\n"
sliders = {
    "slider-vertical": 'orientation="vertical" handle-bitmap="fader_cap" bitmap="fader_track" handle-offset="4, 2" control-tag="Mix"',
    "slider-reversed-ramp": 'orientation="vertical" reverse-orientation="true" mode="ramp" zoom-factor="2.5"',
    "slider-drawn": 'draw-frame="true" draw-back="true" draw-value="true" draw-value-from-center="true" frame-width="2" draw-frame-color="accent" draw-back-color="#000000ff" draw-value-color=""',
    "slider-odd-values": 'mode="ZY free click" zoom-factor="1e999" handle-offset="nan, inf" frame-width="-1" handle-bitmap="missing" bitmap-offset="3" free-click="true"',
    "slider-zero-size": 'size="0, 0" handle-bitmap="fader_cap" min-value="1" max-value="1"',
}
for name, attributes in sliders.items():
    body = ('\t<template name="view" class="CViewContainer" origin="0, 0" size="300, 240">\n'
            f'\t\t<view class="CSlider" origin="10, 20" size="44, 200" {attributes}/>\n'
            '\t</template>\n')
    write("fuzz_uidesc", name + ".uidesc", head + body + tail)
write("fuzz_uidesc", "two-templates.uidesc",
      head + '\t<template name="a" class="CViewContainer" size="100, 100">\n'
      '\t\t<view class="CSlider" size="100, 20"/>\n\t</template>\n'
      '\t<template name="b" class="CSlider" size="20, 100" orientation="vertical"/>\n' + tail)
write("fuzz_uidesc", "empty.uidesc", head + tail)
# a control byte first: the rest picks the attributes of a template of sliders
write("fuzz_uidesc", "sliders-picked", b"\x01" + bytes((i * 53 + 7) % 256 for i in range(200)))
# the toolkit's reader fails on a root it does not know; the target passes it over
write("fuzz_uidesc", "toolkit-foreign-root.xml", '<?xml version="1.0"?>\n<zy-not-a-description/>\n')
