"""The plug-in's English texts as the resource compiler compiled them, each
with its stable context name, the translators' notes and, for the dialog's
texts, the room its control gives. The one reading of the English resources
that the template (po/tavrel.pot), the translated resource scripts and the
checks of the translators' catalogues share."""
import re
import struct
from pathlib import Path

import dialogres

RT_STRING = 6
RESULT_IDS = {1: "IDOK", 2: "IDCANCEL"}
# What a control of each class and button style shows its text in, for the notes.
KINDS = {"Static": "label", "Button": "button"}
BUTTON_KINDS = {2: "check box", 3: "check box", 4: "radio button", 7: "group box title", 9: "radio button"}


def resource_ids(header):
    """Value -> name of every #define in resource.h (the first name wins)."""
    ids = {}
    for name, value in re.findall(r"^#define\s+(\w+)\s+(-?\d+)\s*$", Path(header).read_text(), re.M):
        ids.setdefault(int(value), name)
    return ids


def res_entries(path):
    """(type, name, language, bytes) of every resource in a .res file."""
    data = Path(path).read_bytes()
    r = dialogres.Reader(data)
    while r.pos + 8 <= len(data):
        start = r.pos
        size, header_size = r.unpack("II")
        kind, name = r.sz_or_ord(), r.sz_or_ord()
        r.align()
        _version, _flags, language = r.unpack("IHH")
        r.pos = start + header_size
        yield kind, name, language, data[r.pos:r.pos + size]
        r.pos += size
        r.align()


def string_table(path):
    """id -> text of the string tables in a .res file."""
    texts = {}
    for kind, name, _language, data in res_entries(path):
        if kind != RT_STRING:
            continue
        pos = 0
        for index in range(16):
            (length,) = struct.unpack_from("<H", data, pos)
            pos += 2
            if length:
                texts[(name - 1) * 16 + index] = data[pos:pos + 2 * length].decode("utf-16-le")
            pos += 2 * length
    return dict(sorted(texts.items()))


def notes(script):
    """Translators' notes of a resource script: the "//." lines before a line,
    keyed by that line's first string literal and by its first identifier."""
    found, pending = {}, []
    for line in Path(script).read_text(encoding="utf-8").splitlines():
        stripped = line.strip()
        if stripped.startswith("//."):
            pending.append(stripped[3:].strip())
            continue
        if not pending or not stripped:
            continue
        literal = re.search(r'"((?:[^"]|"")*)"', stripped)
        word = re.match(r"\w+", stripped)
        for key in (literal and literal.group(1).replace('""', '"'), word and word.group(0)):
            if key:
                found[key] = list(pending)
        pending = []
    return found


def dialog_texts(res, ident, ids):
    """(context, text, control) of the dialog's caption and its controls' texts;
    control is None for the caption, else the parsed item."""
    d = dialogres.parse_dialogex(dialogres.find_dialog(res, ident))
    name = ids[ident]
    yield name, d["title"], None, d
    unnamed = {}
    for item in d["items"]:
        if not isinstance(item["text"], str) or not item["text"]:
            continue
        control = RESULT_IDS.get(item["id"]) or (ids.get(item["id"]) if item["id"] != -1 else None)
        if control is None:
            unnamed[item["class"]] = unnamed.get(item["class"], 0) + 1
            control = f"{item['class']}#{unnamed[item['class']]}"
        yield f"{name}/{control}", item["text"], item, d


def entries(dialog_res, dialog_rc, strings_res, strings_rc, header, dialog_id):
    """Every English text: dicts of context, text, comments (list) and c_format."""
    ids = resource_ids(header)
    dialog_notes, string_notes = notes(dialog_rc), notes(strings_rc)
    out = []
    for context, text, item, d in dialog_texts(dialog_res, dialog_id, ids):
        if item is None:
            room = f"Title bar of the settings dialog, {d['cx']} dialog units wide with the close button."
        else:
            kind = KINDS.get(item["class"], "text")
            if item["class"] == "Button":
                kind = BUTTON_KINDS.get(item["style"] & 0xF, kind)
            box = 12 if item["style"] & 0xF in (2, 3, 9) else 0  # the check box's or radio button's mark
            if kind == "group box title":
                lines, chars = 1, (item["cx"] - 12) // 4
            else:
                lines, chars = max(1, item["cy"] // 8), (item["cx"] - box) // 4 * max(1, item["cy"] // 8)
            room = (f"Settings dialog, {kind}: {item['cx']} dialog units wide, "
                    f"{'one line' if lines == 1 else f'{lines} lines'} (about {chars} characters).")
        out.append({"context": context, "text": text, "comments": dialog_notes.get(text, []) + [room],
                    "c_format": False})
    for ident, text in string_table(strings_res).items():
        name = ids[ident]
        out.append({"context": name, "text": text, "comments": string_notes.get(name, []),
                    "c_format": "%" in text})
    return out
