#!/usr/bin/env python3
"""Writes the seed corpora of the fuzz targets into fuzz/corpus/<target>/: the shipped data, cut
and varied, plus small hand-made inputs. Run it again after the data files change."""
import os
import shutil
import struct
import sys

ROOT = os.path.abspath(os.path.join(os.path.dirname(__file__), ".."))
CORPUS = os.path.join(ROOT, "fuzz", "corpus")


def data(rel):
    with open(os.path.join(ROOT, rel), "rb") as f:
        return f.read()


def put(target, name, content):
    d = os.path.join(CORPUS, target)
    os.makedirs(d, exist_ok=True)
    with open(os.path.join(d, name), "wb") as f:
        f.write(content if isinstance(content, bytes) else content.encode("latin-1"))


def frt_seeds():
    example = data("data/Format/Example.frt")
    put("frt", "example.frt", example)
    put("frt", "example-lf.frt", example.replace(b"\r\n", b"\n"))
    lines = example.split(b"\r\n")
    put("frt", "header-only.frt", b"\r\n".join(lines[:8]) + b"\r\n")
    put("frt", "no-defaults.frt", b"\r\n".join(l for l in lines if not l.startswith(b"@D")))
    body = (b"@t:FRTX\n@i:TS\n@v:1\n@a:a\n@c:c\n@d:d\n@o:x\x12y\x15z\n@l:Kite_Basic\n"
            b"#W G\n#LM\n#TC\n#PB\n&W1.0x\n&L 2e3\n&T-1\n&P+0.5\n@Dd-9\n@Df-9.9\n@Ds--\n"
            b"// comment\n   \n%N name\n")
    put("frt", "current-min.frt", body)
    put("frt", "current-strings.frt", body +
        b'$1110000"%d %s"208211051011001001;101102103\n'
        b'$1210000"aux \x13q\x13 \x14\x12"308001001\n'
        b'$1300000"app";101\n$1400000"head"\n$1500000"foot"\n'
        b'$2110000"%lf,%s"209211002011001001\n$1710005"fallback"\n')
    older = (b"@frt_orig\n%NOld\n#LM\n#WG\n&L1.0\n&W1.0\n&C1\n&P1\n"
             b'$M"%s %f"001002\n@_M"aux"\n@AS"app"\n@BA"head"\n@BE"foot"\n')
    put("frt", "older.frt", older)
    put("frt", "older-origin.frt", older.replace(b"@frt_orig", b"@frt_origin", 1))
    put("frt", "bad-variable.frt", body + b'$1110000"x"308251023\n')
    put("frt", "duplicate-app.frt", body + b'$1300000"t";101101\n')
    put("frt", "long-line.frt", body + b'$1110000"' + b"%d" * 1100 + b'"\n')
    put("frt", "full-list.frt", body + b"".join(b'$1110%03d"s%d"\n' % (i, i) for i in range(30)))


def document_seeds():
    fmt = os.path.join(ROOT, "data", "Format")
    for name in sorted(os.listdir(fmt)):
        if name.endswith(".frt"):
            content = data(os.path.join("data", "Format", name))
            put("document", name, content)
            put("frt", name, content)
    example = data("data/Format/Example.frt")
    put("document", "other-template.frt", example.replace(b"@l:Kite_Basic", b"@l:Kite_Compact"))
    put("document", "unknown-template.frt", example.replace(b"@l:Kite_Basic", b"@l:Nope"))


def ini_seeds():
    tpl = data("data/Templates/Quarvel/QV.tpl")
    put("catalogue", "QV.tpl", tpl)
    put("catalogue", "QV-lf.tpl", tpl.replace(b"\r\n", b"\n"))
    # The header, the pool and the first template only.
    cut = tpl.find(b"[Kite_Compact_Generalities]")
    put("catalogue", "first-template.tpl", tpl[:cut] if cut > 0 else tpl[:6000])
    put("catalogue", "header.tpl", b"[FileHeader]\nType=FRT_TPL\nVersion=1\n")
    put("catalogue", "twice.tpl", b"[FileHeader]\nType=FRT_TPL\n[FileHeader]\nVersion=1\n; c\n x\n")
    put("catalogue", "entry-first.tpl", b"Type=FRT_TPL\n[FileHeader]\n")
    put("catalogue", "long-line.tpl", b"[FileHeader]\nType=" + b"x" * 2100 + b"\r\nVersion=1\r\n")
    ini = data("data/Global/QV.ini")
    put("profile", "QV.ini", ini)
    put("profile", "QV-lf.ini", ini.replace(b"\r\n", b"\n"))
    put("profile", "header.ini", b"[FileHeader]\nType=FRT_INI\nVersion=1\nCompany=c\nCreated=d\nComment=x\n")
    put("profile", "no-pressure.ini", ini.replace(b"Temperature,Pressure", b"Temperature"))
    put("profile", "extra-type.ini", ini.replace(b"Temperature,Pressure", b"Temperature,Pressure,Time"))
    put("profile", "duplicate-type.ini", ini.replace(b"Linear,Angular", b"Linear,Linear"))


def pool_entry(name, key, text, variables, extra=(b"desc", b"Quarvel", b"Monday", b"Kite_Basic")):
    texts = b"".join(t.ljust(128, b"\0")[:128] for t in (name,) + tuple(extra))
    out = struct.pack("<I", 640) + texts + struct.pack("<I", 6) + bytes(key[:3]) + b"\0"
    out += struct.pack("<H", key[3]) + struct.pack("<I", len(text)) + text
    out += struct.pack("<I", len(variables))
    for code, unit_type, data_type, unit_code, options in variables:
        out += struct.pack("<IHBBBB", 6, code, unit_type, data_type, unit_code, options)
    return out


def pool_seeds():
    a = pool_entry(b"alpha", (1, 1, 12, 0), b"%-10s %13.3f", [(11, 0, 11, 0, 1), (8, 1, 8, 11, 1)])
    b = pool_entry(b"beta", (2, 1, 3, 7), b"%lf,%s", [(9, 2, 9, 21, 0)])
    c = pool_entry(b"gamma", (1, 4, 0, 0), b"header", [])
    put("pool", "empty.dat", struct.pack("<I", 0))
    put("pool", "one.dat", struct.pack("<I", 1) + a)
    put("pool", "three.dat", struct.pack("<I", 3) + c + a + b)
    put("pool", "same-name.dat", struct.pack("<I", 2) + a + a.replace(b"%-10s", b"%-11s"))
    put("pool", "cut.dat", (struct.pack("<I", 2) + a + b)[:-5])
    put("pool", "huge-count.dat", struct.pack("<I", 0xFFFFFFFF) + a)
    put("pool", "huge-text.dat", struct.pack("<I", 1) + a[:654] + struct.pack("<I", 0xFFFFFFF0))
    put("pool", "long-text.dat", struct.pack("<I", 1) + pool_entry(b"long", (1, 1, 0, 0), b"x" * 1927, []))
    put("pool", "no-nul.dat", struct.pack("<I", 1) + pool_entry(b"n" * 128, (1, 1, 0, 0), b"t", [], (b"d" * 128,) * 4))


def render_seed(capacity, texts, variables, fmt, attach=True):
    out = struct.pack("<HB", capacity, 0 if attach else 1)
    out += struct.pack("<dddd", 1.0, 0.5, 1e300, float("nan"))
    out += b"".join(t + b"\0" for t in texts) + bytes([len(variables)])
    for code, unit_type, data_type, unit_code, options, mode, bits, text in variables:
        out += struct.pack("<HBBBBBQ", code, unit_type, data_type, unit_code, options, mode, bits)
        out += text + b"\0"
    return out + fmt


def render_seeds():
    pi = struct.unpack("<Q", struct.pack("<d", 3.14159))[0]
    neg = struct.unpack("<Q", struct.pack("<d", -1234.5678))[0]
    defaults = [b"-9999", b"-9999.999", b"----"]
    put("render", "mixed", render_seed(200, defaults, [
        (11, 0, 11, 0, 1, 0, 0, b"P1001"), (8, 1, 8, 11, 1, 0, pi, b""),
        (5, 0, 4, 0, 0, 0, 0xFFFFFF85, b""), (12, 0, 12, 0, 0, 0, 0x41, b"")],
        b"%-10s %13.3f %+05d %c|%%"))
    put("render", "small", render_seed(5, defaults, [(8, 1, 8, 11, 7, 0, neg, b"")], b"%12.4e"))
    put("render", "missing", render_seed(64, defaults, [(3, 0, 0, 0, 0, 1, 0, b""), (4, 0, 0, 0, 0, 2, 0, b"")],
                                         b"%s|%d|%s"))
    put("render", "no-format", render_seed(64, defaults, [(3, 0, 0, 0, 0, 1, 0, b"")], b"%d", attach=False))
    put("render", "wide", render_seed(4000, defaults, [(9, 2, 9, 21, 4, 0, pi, b"")], b"%999.300g %#x %#o %hd %ld"))
    put("render", "type-change", render_seed(64, defaults, [(9, 2, 9, 21, 0, 0x10 | (3 << 5), 7, b"")], b"%d %f"))


def input_seeds():
    def seed(block, mode, strings, lines):
        out = bytes([block, mode])
        for key, types, text in strings:
            out += bytes([key, len(types)]) + bytes(types) + text + b"\0"
        return out + lines
    put("input", "simple", seed(0, 0, [(1, [11, 8, 8], b"%s %lf %lf")], b"P1 1.5 2.5\nP2 3 4\n"))
    put("input", "two-lines", seed(0, 1, [(1, [11, 4], b"%s\n%ld"), (1, [11], b"%s")], b"A\n12\nB\n"))
    put("input", "suppress", seed(0, 0, [(1, [4], b"%*d,%5d%%%c")], b"1,23456%x\n,,\n"))
    put("input", "literal", seed(0, 2, [(1, [11], b"PT=%[^,],%e")], b"PT=abc,1e5\nPT=\n" + b"9" * 3000 + b"\n"))


def workbench_seeds():
    records = data("data/Workbench/survey_records.csv")
    put("records", "shipped.csv", b"\x07\x00" + records)
    put("records", "bom-quotes.csv", b"\x00\x01\xef\xbb\xbfblock,1,2\r\n10,\"a,\"\"b\",\r\n12,x\n")
    put("records", "open-quote.csv", b"\x03\x00block,1\n10,\"never closed\n" + b"x" * 300)
    put("records", "bad-rows.csv", b"\x01\x00block,1,21\nx,1\n10,1,abc\n99,a\n10,a,b,c\n")
    raw = data("data/Workbench/survey_raw.txt")
    # Strings: count, then per string kind/block byte, variable count, groups, text and NUL.
    put("scan", "shipped", bytes([2, 0x08, 2, 0, 1]) + b"SS,%s,%f\0" +
        bytes([0x01, 1, 0]) + b"C%s\0" + b"\x01" + raw)
    put("scan", "odd", bytes([1, 0x04, 3, 0, 1, 4]) + b"%s,%lf,%s\0\x01" +
        b"P1,1.5,x\r\n\n\x1a\r\nP2,,y\nP3,2e5\x1a")


def editvar_seeds():
    for i, s in enumerate([b"\x01112209609%-10.3lf", b"\x00100207100%ld", b"\x01100011001%-12s",
                           b"\x00100011001%s", b"\x01%+08.2lf", b"\x00%5ld", b"\x00%*20s",
                           b"\x01100000777%d", b"\x01112209609a%%b%10.4Ee", b"\x01%c"]):
        put("editvar", "seed%02d" % i, s)


def main():
    if os.path.isdir(CORPUS):
        shutil.rmtree(CORPUS)
    frt_seeds()
    document_seeds()
    ini_seeds()
    pool_seeds()
    render_seeds()
    input_seeds()
    editvar_seeds()
    workbench_seeds()
    for t in sorted(os.listdir(CORPUS)):
        print(t, len(os.listdir(os.path.join(CORPUS, t))))


if __name__ == "__main__":
    sys.exit(main())
