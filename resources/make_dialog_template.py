#!/usr/bin/env python3
"""Writes the settings dialog's template as C++ data for the native dialog
stand-in, from the resource script as the resource compiler compiled it (a
.res file), so the data cannot say anything the script does not; and the
same of every language the translations' resources hold: its dialog and
its string table, English first.

Identifiers are written by their names in resource.h (1 and 2 as the dialog
results), styles as the named constants of platform/DialogTemplate.h; a style
bit without a name there is an error."""
import argparse
import re
import sys
from pathlib import Path

sys.dont_write_bytecode = True  # nothing written into the source tree
sys.path.insert(0, str(Path(__file__).resolve().parent))
import dialogres  # noqa: E402
import rctexts  # noqa: E402

# Which named constants may describe which bits: the window bits of the high
# word for every window, then the low word by class. Within a "type" the low
# bits are one value, not flags.
WINDOW_PREFIXES = ("kWs",)
LOW_WORD = {
    "dialog": {"flags": ("kDs",)},
    "Button": {"type": "kBs"},
    "ComboBox": {"type": "kCbs"},
    "Static": {"type": "kSs"},
}
RESULT_IDS = {1: "platform::kIdOk", 2: "platform::kIdCancel"}


def style_constants(header):
    text = Path(header).read_text()
    return {name: int(value, 16) for name, value in
            re.findall(r"constexpr uint32_t (k\w+) = (0x[0-9A-Fa-f]+);", text)}


def resource_ids(header):
    ids = {}
    for name, value in re.findall(r"^#define\s+(\w+)\s+(-?\d+)\s*$", Path(header).read_text(), re.M):
        ids.setdefault(int(value), name)
    return ids


def describe_style(style, kind, constants):
    """`style` as an expression of named constants."""
    names, rest = [], style
    for name, value in constants.items():
        if name.startswith(WINDOW_PREFIXES) and value & 0xFFFF0000 == value and value and rest & value == value:
            names.append(name)
            rest &= ~value
    rule = LOW_WORD.get(kind, {})
    if "type" in rule:
        prefix = rule["type"]
        mask = constants[prefix + "TypeMask"]
        matches = [n for n, v in constants.items()
                   if n.startswith(prefix) and not n.endswith("TypeMask") and v == rest & mask]
        if not matches:
            sys.exit(f"no constant {prefix}... names the type {rest & mask:#x} of a {kind} control")
        names.append(matches[0])
        rest &= ~mask
    for name, value in constants.items():
        if name.startswith(rule.get("flags", ())) and value & 0xFFFF == value and value and rest & value == value:
            names.append(name)
            rest &= ~value
    if rest:
        sys.exit(f"style bits {rest:#x} of a {kind} window have no name in platform/DialogTemplate.h")
    return " | ".join("style::" + n for n in names)


def cpp_text(text):
    out = []
    for ch in text:
        if ch in '"\\':
            out.append("\\" + ch)
        elif 0x20 <= ord(ch) < 0x7F:
            out.append(ch)
        else:
            out.append(f"\\u{ord(ch):04x}")
    return 'u"' + "".join(out) + '"'


def template_source(d, ids, constants, suffix):
    """The C++ data of one parsed dialog template, named with `suffix`."""
    if d["help_id"] or d["ex_style"] or d["menu"] or d["class"]:
        sys.exit("the native stand-in has no help identifier, extended style, menu or class")
    lines = []
    for item in d["items"]:
        if item["help_id"] or item["ex_style"] or item["extra"]:
            sys.exit(f"control {item['id']}: the native stand-in has no help identifier, extended style "
                     "or creation data")
        ident = RESULT_IDS.get(item["id"]) or ids.get(item["id"]) or str(item["id"])
        lines.append(f"    {{{ident}, ControlClass::{item['class']}, {cpp_text(item['text'])}, "
                     f"{item['x']}, {item['y']}, {item['cx']}, {item['cy']},\n"
                     f"     {describe_style(item['style'], item['class'], constants)}}},")
    items = "\n".join(lines)
    return f"""\
constexpr std::array<DialogItemTemplate, {len(d["items"])}> kItems{suffix} = {{{{
{items}
}}}};

constexpr platform::DialogTemplate kTemplate{suffix} = {{
    {describe_style(d["style"], "dialog", constants)},
    {d["x"]}, {d["y"]}, {d["cx"]}, {d["cy"]}, {cpp_text(d["title"])}, {cpp_text(d["font"])},
    {d["point_size"]}, {d["weight"]}, {"true" if d["italic"] else "false"}, {d["charset"]}, kItems{suffix},
}};
"""


def strings_source(table, ids, suffix):
    """The C++ data of one string table, named with `suffix`."""
    rows = "\n".join(f"    {{{ids.get(i, str(i))}, {cpp_text(t)}}}," for i, t in table.items())
    return f"""\
constexpr std::array<platform::StringResource, {len(table)}> kStrings{suffix} = {{{{
{rows}
}}}};
"""


def main():
    parser = argparse.ArgumentParser(description=__doc__)
    parser.add_argument("--res", required=True, help="the compiled English dialog")
    parser.add_argument("--strings", required=True, help="the compiled English string table")
    parser.add_argument("--translations", required=True, help="the compiled translations")
    parser.add_argument("--ids", required=True, help="resource.h")
    parser.add_argument("--styles", required=True, help="platform/DialogTemplate.h")
    parser.add_argument("--dialog", required=True, help="the dialog's identifier name in resource.h")
    parser.add_argument("--output", required=True)
    args = parser.parse_args()

    ids = resource_ids(args.ids)
    by_name = {name: value for value, name in ids.items()}
    constants = style_constants(args.styles)
    ident = by_name[args.dialog]
    names = {v: k for k, v in rctexts.LANGUAGES.items()}
    english = dialogres.ENGLISH
    parts = [template_source(dialogres.parse_dialogex(dialogres.find_dialog(args.res, ident)), ids, constants, ""),
             strings_source(rctexts.string_table(args.strings), ids, "")]
    languages = [f'    {{{english:#06x}, "{names[english]}", &kTemplate, kStrings}},']
    for language in dialogres.dialog_languages(args.translations, ident):
        suffix = f"{language:04X}"
        d = dialogres.parse_dialogex(dialogres.find_dialog(args.translations, ident, language))
        parts.append(template_source(d, ids, constants, suffix))
        parts.append(strings_source(rctexts.string_table(args.translations, language), ids, suffix))
        languages.append(f'    {{{language:#06x}, "{names[language]}", &kTemplate{suffix}, kStrings{suffix}}},')
    data = "\n".join(parts)
    rows = "\n".join(languages)
    source = f"""\
// Written by the build from resources/SettingsDialog.rc, resources/Strings.rc
// and the translations, as compiled (resources/make_dialog_template.py);
// edit the resource scripts or the catalogues instead.
#include <array>

#include "platform/Dialog.h"
#include "platform/Resources.h"
#include "resources/ModuleResources.h"
#include "resources/SettingsDialogTemplate.h"
#include "resources/resource.h"

namespace tavrel::resources {{

namespace {{

using platform::ControlClass;
using platform::DialogItemTemplate;
namespace style = platform::style;

{data}
constexpr std::array<LanguageResources, {len(languages)}> kLanguages = {{{{
{rows}
}}}};

}}  // namespace

const platform::DialogTemplate& SettingsDialogTemplate() {{ return kTemplate; }}

std::span<const LanguageResources> ModuleResources() {{ return kLanguages; }}

void AnnounceResources(platform::ModuleHandle module) {{
  platform::RegisterDialogTemplate(module, {ident}, &kTemplate);
  for (const LanguageResources& language : kLanguages)
    platform::RegisterLanguage(module, language.language, language.locale, {ident}, language.settingsDialog,
                               language.strings);
}}

}}  // namespace tavrel::resources
"""
    out = Path(args.output)
    if not out.exists() or out.read_text() != source:
        out.write_text(source)


main()
