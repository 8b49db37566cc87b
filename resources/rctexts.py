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


def string_table(path, language=dialogres.ENGLISH):
    """id -> text of the string tables of `language` in a .res file or a module."""
    texts = {}
    for kind, name, lang, data in dialogres.entries(path):
        if kind != RT_STRING or lang != language:
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


# Windows language identifiers (LANGID: sublanguage << 10 | primary language)
# of the locales a catalogue may be written for, by their gettext names.
LANGUAGES = {
    "en_US": 0x0409, "ar_SA": 0x0401, "bg_BG": 0x0402, "ca_ES": 0x0403, "zh_TW": 0x0404, "cs_CZ": 0x0405,
    "da_DK": 0x0406, "de_DE": 0x0407, "el_GR": 0x0408, "fi_FI": 0x040B, "fr_FR": 0x040C, "he_IL": 0x040D,
    "hu_HU": 0x040E, "it_IT": 0x0410, "ja_JP": 0x0411, "ko_KR": 0x0412, "nl_NL": 0x0413, "nb_NO": 0x0414,
    "pl_PL": 0x0415, "pt_BR": 0x0416, "ro_RO": 0x0418, "ru_RU": 0x0419, "hr_HR": 0x041A, "sk_SK": 0x041B,
    "sv_SE": 0x041D, "th_TH": 0x041E, "tr_TR": 0x041F, "id_ID": 0x0421, "uk_UA": 0x0422, "sl_SI": 0x0424,
    "et_EE": 0x0425, "lv_LV": 0x0426, "lt_LT": 0x0427, "vi_VN": 0x042A, "hi_IN": 0x0439, "zh_CN": 0x0804,
    "pt_PT": 0x0816, "sr_RS": 0x241A, "es_ES": 0x0C0A, "es_MX": 0x080A, "fr_CA": 0x0C0C, "de_AT": 0x0C07,
    "de_CH": 0x0807, "nl_BE": 0x0813, "en_GB": 0x0809,
}


# The languages' names in English, for the read-me and the SBOM.
NAMES = {
    "ar": "Arabic", "bg": "Bulgarian", "ca": "Catalan", "cs": "Czech", "da": "Danish", "de": "German",
    "el": "Greek", "en": "English", "es": "Spanish", "et": "Estonian", "fi": "Finnish", "fr": "French",
    "he": "Hebrew", "hi": "Hindi", "hr": "Croatian", "hu": "Hungarian", "id": "Indonesian", "it": "Italian",
    "ja": "Japanese", "ko": "Korean", "lt": "Lithuanian", "lv": "Latvian", "nb": "Norwegian Bokmal",
    "nl": "Dutch", "pl": "Polish", "pt": "Portuguese", "ro": "Romanian", "ru": "Russian", "sk": "Slovak",
    "sl": "Slovenian", "sr": "Serbian", "sv": "Swedish", "th": "Thai", "tr": "Turkish", "uk": "Ukrainian",
    "vi": "Vietnamese", "zh": "Chinese",
}
REGIONS = {"zh_CN": "Simplified", "zh_TW": "Traditional", "pt_BR": "Brazil", "pt_PT": "Portugal"}


def display_name(locale):
    """"German (de-DE)", "Chinese, Simplified (zh-CN)"."""
    language = NAMES[locale.split("_")[0]]
    region = REGIONS.get(locale)
    return f"{language}{', ' + region if region else ''} ({locale.replace('_', '-')})"


def linguas(path):
    """The catalogues' locale names, one a line ("#" starts a comment)."""
    names = []
    for line in Path(path).read_text(encoding="utf-8").splitlines():
        name = line.split("#", 1)[0].strip()
        if not name:
            continue
        if name not in LANGUAGES or name.split("_")[0] not in NAMES:
            raise SystemExit(f"{path}: {name} has no Windows language identifier or name in resources/rctexts.py")
        names.append(name)
    return names
