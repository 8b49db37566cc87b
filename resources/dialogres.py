"""Reads extended dialog templates (DIALOGEX) out of compiled resources: a
.res file as the resource compiler writes it, or a PE module (with pefile)."""
import struct

RT_DIALOG = 5
CLASS_ORDINALS = {0x80: "Button", 0x81: "Edit", 0x82: "Static", 0x83: "ListBox", 0x84: "ScrollBar",
                  0x85: "ComboBox"}


class Reader:
    def __init__(self, data, pos=0):
        self.data, self.pos = data, pos

    def unpack(self, fmt):
        values = struct.unpack_from("<" + fmt, self.data, self.pos)
        self.pos += struct.calcsize("<" + fmt)
        return values if len(values) > 1 else values[0]

    def string(self):
        end = self.pos
        while self.data[end:end + 2] != b"\0\0":
            if end + 2 > len(self.data):
                raise ValueError("unterminated string")
            end += 2
        text = self.data[self.pos:end].decode("utf-16-le")
        self.pos = end + 2
        return text

    def sz_or_ord(self, ordinals=None):
        """A string, or after 0xFFFF a number (named through `ordinals`)."""
        if struct.unpack_from("<H", self.data, self.pos)[0] == 0xFFFF:
            self.pos += 2
            value = self.unpack("H")
            return ordinals.get(value, value) if ordinals else value
        return self.string()

    def align(self):
        self.pos = (self.pos + 3) & ~3


ENGLISH = 0x0409


def res_entries(data):
    """(type, name, language, bytes) of every resource in a .res file."""
    r = Reader(data)
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


def pe_entries(path):
    """(type, name, language, bytes) of every resource in a PE module."""
    import pefile  # only the Windows builds read modules

    pe = pefile.PE(path)
    if not hasattr(pe, "DIRECTORY_ENTRY_RESOURCE"):
        return
    for kind in pe.DIRECTORY_ENTRY_RESOURCE.entries:
        for entry in kind.directory.entries:
            for language in entry.directory.entries:
                leaf = language.data.struct
                yield kind.id, entry.id, language.id, pe.get_data(leaf.OffsetToData, leaf.Size)


def entries(path):
    """(type, name, language, bytes) of a .res file or a PE module."""
    if str(path).endswith(".res"):
        with open(path, "rb") as f:
            return list(res_entries(f.read()))
    return list(pe_entries(path))


def find_dialog(path, ident, language=ENGLISH):
    """The bytes of dialog `ident` in `language` in a .res file or a PE module."""
    for kind, name, lang, data in entries(path):
        if kind == RT_DIALOG and name == ident and lang == language:
            return data
    raise LookupError(f"dialog {ident} in language {language:#06x} not found in {path}")


def dialog_languages(path, ident):
    """The languages dialog `ident` has in a .res file or a PE module."""
    return sorted(lang for kind, name, lang, _ in entries(path) if kind == RT_DIALOG and name == ident)


def parse_dialogex(data):
    """The template's fields and its controls, as dictionaries."""
    r = Reader(data)
    d = {}
    d["version"], d["signature"], d["help_id"], d["ex_style"], d["style"] = r.unpack("HHIII")
    if (d["version"], d["signature"]) != (1, 0xFFFF):
        raise ValueError("not an extended dialog template")
    count = r.unpack("H")
    d["x"], d["y"], d["cx"], d["cy"] = r.unpack("hhhh")
    d["menu"], d["class"], d["title"] = r.sz_or_ord(), r.sz_or_ord(), r.string()
    d["point_size"], d["weight"], d["italic"], d["charset"] = r.unpack("HHBB")
    d["font"] = r.string()
    d["items"] = []
    for _ in range(count):
        r.align()
        item = {}
        item["help_id"], item["ex_style"], item["style"] = r.unpack("III")
        item["x"], item["y"], item["cx"], item["cy"] = r.unpack("hhhh")
        item["id"] = r.unpack("i")
        item["class"] = r.sz_or_ord(CLASS_ORDINALS)
        item["text"] = r.sz_or_ord()
        item["extra"] = r.unpack("H")
        r.pos += item["extra"]
        d["items"].append(item)
    return d
