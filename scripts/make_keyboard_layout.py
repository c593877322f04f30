#!/usr/bin/env python3
"""Lays out the keyboard picture from scripts/keyboard_key_names.txt.

Writes the key buttons of skin/XML/DeviceXml/keyboarddevice.xml (the lines
between its "keys: generated" marks) and the keyboard body drawing
skin/device/keyboard/keyboard_body.svg: one plate with a well under every
key, so that both always agree with the table. Run it after editing the
table; --check only tells whether the files are up to date.
"""

import argparse
import pathlib
import sys
from xml.sax.saxutils import quoteattr

ROOT = pathlib.Path(__file__).resolve().parent.parent
TABLE = ROOT / "scripts" / "keyboard_key_names.txt"
LAYOUT = ROOT / "skin" / "XML" / "DeviceXml" / "keyboarddevice.xml"
BODY = ROOT / "skin" / "device" / "keyboard" / "keyboard_body.svg"

KEY_COUNT = 126
UNIT = 30  # pixels per key unit
GAP = 2  # between two caps
MARGIN_X = 12  # plate edge to the outermost keys
MARGIN_Y = 16
LEFT = 1.5  # the macro column lies this many units left of the main block
WIDTH = 744
HEIGHT = 228

BEGIN = "<!-- keys: generated -->"
END = "<!-- end of generated keys -->"

KEY_IMAGES = (
    "normalimage=\"file='common/key/key_normal.png' corner='6,6,6,6'\" "
    "hotimage=\"file='common/key/key_hot.png' corner='6,6,6,6'\" "
    "pushedimage=\"file='common/key/key_pushed.png' corner='6,6,6,6'\" "
    "disabledimage=\"file='common/key/key_disabled.png' corner='6,6,6,6'\" "
    # Tinted images stretch whole: the keyboard's light has no corners to keep.
    "lightimage=\"file='device/keyboard/key_glow.png'\" "
    "keysetimage=\"file='common/key/key_set.png' corner='6,6,6,6'\" "
    "selectedimage=\"file='common/key/key_selected.png' corner='6,6,6,6'\""
)


def read_table():
    keys = []
    for number, line in enumerate(TABLE.read_text(encoding="utf-8").splitlines(), 1):
        line = line.strip()
        if not line or line.startswith("#"):
            continue
        parts = line.split()
        if len(parts) not in (6, 7) or (len(parts) == 7 and parts[6] != "hidden"):
            sys.exit(f"{TABLE.name}:{number}: expected: key x y width height label [hidden]")
        index = int(parts[0])
        if index != len(keys):
            sys.exit(f"{TABLE.name}:{number}: key {index} out of order (expected {len(keys)})")
        x, y, w, h = (float(v) for v in parts[1:5])
        keys.append({"index": index, "x": x, "y": y, "w": w, "h": h, "label": parts[5], "hidden": len(parts) == 7})
    if len(keys) != KEY_COUNT:
        sys.exit(f"{TABLE.name}: {len(keys)} keys, the keyboard has {KEY_COUNT}")
    return keys


def rect(key):
    left = MARGIN_X + round((key["x"] + LEFT) * UNIT)
    top = MARGIN_Y + round(key["y"] * UNIT)
    right = left + round(key["w"] * UNIT) - GAP
    bottom = top + round(key["h"] * UNIT) - GAP
    if right > WIDTH - MARGIN_X + GAP or bottom > HEIGHT - MARGIN_Y + GAP or left < 0:
        sys.exit(f"key {key['index']} lies outside the plate")
    return left, top, right, bottom


def button_lines(keys, indent):
    lines = []
    for key in keys:
        l, t, r, b = rect(key)
        hidden = ' visible="false"' if key["hidden"] else ""
        lines.append(
            f'{indent}<DeviceKeyButton name="key_{key["index"]}" userdata="light_{key["index"]}" float="true" '
            f'pos="{l},{t},{r},{b}" font="10" textcolor="#FFFFFFFF" disabledtextcolor="#FF666666" '
            f'resourcetext="true" text={quoteattr(key["label"])} {KEY_IMAGES}{hidden}/>'
        )
    return lines


def layout_text(keys):
    text = LAYOUT.read_text(encoding="utf-8")
    start = text.find(BEGIN)
    stop = text.find(END)
    if start < 0 or stop < start:
        sys.exit(f"{LAYOUT.name}: the generated-keys marks are missing")
    line_start = text.rfind("\n", 0, start) + 1
    indent = text[line_start:start]
    body = "\n".join(button_lines(keys, indent))
    return text[: start + len(BEGIN)] + "\n" + body + "\n" + indent + text[stop:]


def body_svg(keys):
    wells = []
    for key in keys:
        if key["hidden"]:
            continue
        l, t, r, b = rect(key)
        wells.append(
            f'  <rect x="{l - 1}" y="{t - 1}" width="{r - l + 2}" height="{b - t + 2}" rx="5" fill="#101215"/>'
        )
    macro_right = MARGIN_X + round(1 * UNIT)
    return "\n".join(
        [
            f'<svg xmlns="http://www.w3.org/2000/svg" width="{WIDTH}" height="{HEIGHT}" viewBox="0 0 {WIDTH} {HEIGHT}">',
            "  <!-- The keyboard's top plate; made by scripts/make_keyboard_layout.py. -->",
            f'  <rect x="1" y="1" width="{WIDTH - 2}" height="{HEIGHT - 2}" rx="12" fill="#1C1F24" stroke="#2F343C" stroke-width="2"/>',
            f'  <rect x="6" y="6" width="{WIDTH - 12}" height="{HEIGHT - 12}" rx="8" fill="none" stroke="#262A31" stroke-width="1"/>',
            # The light strip along the front edge and the logo beside the F keys.
            f'  <rect x="{MARGIN_X}" y="{HEIGHT - 7}" width="{WIDTH - 2 * MARGIN_X}" height="2" rx="1" fill="#0099FF" opacity="0.5"/>',
            f'  <rect x="{macro_right + 4}" y="{MARGIN_Y + UNIT + 4}" width="1" height="{round(4.5 * UNIT)}" fill="#2F343C"/>',
            *wells,
            "</svg>",
            "",
        ]
    )


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--check", action="store_true", help="fail when the files are not up to date")
    args = parser.parse_args()
    keys = read_table()
    outputs = {LAYOUT: layout_text(keys), BODY: body_svg(keys)}
    stale = [path for path, text in outputs.items() if not path.exists() or path.read_text(encoding="utf-8") != text]
    if args.check:
        for path in stale:
            print(f"{path.relative_to(ROOT)} is not up to date: run scripts/make_keyboard_layout.py")
        return 1 if stale else 0
    for path in stale:
        path.parent.mkdir(parents=True, exist_ok=True)
        path.write_text(outputs[path], encoding="utf-8")
        print(f"wrote {path.relative_to(ROOT)}")
    return 0


if __name__ == "__main__":
    sys.exit(main())
