#!/usr/bin/env python3
"""Writes the seed corpus of every fuzz target into corpus/<Name>/ (run once; the files are
kept in the repository). JPEG seeds are encoded by cjpeg (Debian: libjpeg-turbo-progs);
every other seed is made here. Inputs the fuzzer found that once broke a reader are added to the
same folders by hand, under names that say so, and are never made here."""

import os
import shutil
import struct
import subprocess
import sys
import tempfile

HERE = os.path.dirname(os.path.abspath(__file__))
ROOT = os.path.normpath(os.path.join(HERE, "..", ".."))
CORPUS = os.path.join(HERE, "corpus")


def write(target, name, data):
    folder = os.path.join(CORPUS, target)
    os.makedirs(folder, exist_ok=True)
    if isinstance(data, str):
        data = data.encode("utf-8")
    with open(os.path.join(folder, name), "wb") as f:
        f.write(data)


def sized(data):
    """A field as FuzzInput.bytes() reads it: a length byte, then the bytes."""
    if isinstance(data, str):
        data = data.encode("utf-8")
    return bytes([len(data)]) + data


SETTINGS = """[Korvel setting]\r
ImageWindowPosX=5\r
ImageWindowPosY=-20\r
PlayListPosX=325\r
PlayListPosY=5\r
PlayerPosX=40\r
PlayerPosY=250\r
WindowFix=1\r
ClientWidth=640\r
ClientHeight=0\r
ScrSize=$10\r
Volume=0x7F\r
ListRow=5\r
RowData1=On|1|1|clip.mp4|00:00:10|00:01:00|/home/user/clip.mp4\r
RowData2=%%Off|2|3|a%7Cb|||/tmp/a%7Cb.avi%20\r
RowData3=|||||| \r
[Other]\r
RowData9=kept\r
"""


def settings_seeds():
    # After the entry's seven cells: the rows of the hand-written file (a count, seven cells
    # each) and the byte that shapes it; then the text read as it is.
    none = b"\x00\x00"
    row = b"".join(sized(c) for c in ["On", "1", "1", "x.avi", "", "", "/x.avi"])
    write("SettingsFile", "plain", row + none + SETTINGS.encode())
    write("SettingsFile", "lf-no-list", b"\x00" * 7 + none + b"[korvel SETTING]\nListRow=x\nRowData1=a|b\nRowData2=c\n")
    write("SettingsFile", "shift-jis", b"\x00" * 7 + none + "[Korvel setting]\r\nListRow=3\r\nRowData1=On|||動画.avi|||C:\\動画.avi\r\n".encode("shift_jis"))
    write("SettingsFile", "latin1-cell", sized(b"caf\xe9.avi") + b"\x00" * 6 + none + b"[Korvel setting]\nListRow=300\nRowData1=x\n")
    write("SettingsFile", "empty", b"")
    many = b"".join(b"RowData%d=On|g%d\n" % (n, n) for n in range(1, 301))
    write("SettingsFile", "past-the-list", b"\x00" * 7 + none + b"[Korvel setting]\nListRow=302\n" + many)
    write("SettingsFile", "long-row", b"\x00" * 7 + none + b"[Korvel setting]\nListRow=3\nRowData1=" + b"|" * 3 + b"a" * 3000 + b"\n")
    known = b"".join(sized(bytes([i * 7 + c for c in range(c % 4 + 1)])) for i in range(2) for c in range(7))
    # A byte-order mark, CR line ends and ListRow; then lower-case names, blanks around "=",
    # LF ends and a comment and another section first.
    write("SettingsFile", "known-marked-cr", b"\x00" * 7 + b"\x02" + known + bytes([2 | 32 | 128]))
    write("SettingsFile", "known-lower-lf", b"\x00" * 7 + b"\x02" + known + bytes([1 | 4 | 16 | 64]))


def ini_seeds():
    texts = {
        "skin": open(os.path.join(ROOT, "resources", "Skin.ini"), "rb").read()[:1500],
        "crlf": b"[A]\r\nx = 1 \r\n\r\n[Fuzz]\r\nKey=old\r\n[B]\r\ny=2",
        "lf": b"; comment\n[fuzz]\nkey = $7FFFFFFF\n\n[Other]\nKey=other\n",
        "mixed": b"[Fuzz\nKey=a\r\nKey=b\n=x\n[]\n",
        "no-newline": b"Key=v",
        "long-value": b"[Fuzz]\nKey=" + "あ".encode() * 900 + b"\n",
    }
    for name, text in texts.items():
        write("IniFile", name, sized("new value") + text)
    write("IniFile", "blank-value", sized("  padded  ") + b"[Fuzz]\n")


def split_seeds():
    rows = {
        "skin-row": (",", [], "BUTTON_PLAY, 55, 90, 24, 19, 再生(Ctrl+P)"),
        "quoted": (",", ["a,b", 'say "hi"', ""], '"a,b", "say ""hi""",,x'),
        "tabs": ("\t", ["x"], "a\tb\t\tc\t"),
        "control": (";", ["\x01", "é"], "\x01a;b\x1fc;\x00d"),
        "unclosed": (",", [], '"open, field'),
    }
    for name, (delimiter, fields, text) in rows.items():
        head = bytes([ord(delimiter) - 33 if ord(delimiter) > 32 else 0, len(fields)])
        write("SplitFields", name, head + b"".join(sized(f) for f in fields) + text.encode())


def integer_seeds():
    texts = ["0", "-2147483648", "2147483648", "  +42", "$FFFFFFFF", "0x7fffffff",
             "-$80000000", "$123456789", "12 ", "\t-0", "00000000000000000000001", "٣", "0x", "+",
             "$000000001", "-0x0000000000FFFFFFFF", "$00000000100000000"]
    for i, text in enumerate(texts):
        write("IntegerText", "n%02d" % i, struct.pack(">I", (i * 2654435761) & 0xFFFFFFFF) + text.encode())


def time_seeds():
    texts = ["00:00:00", "23:59:59", "24:00:00", "1:2", "12.34.56", "00:01:02.250",
             "00:01.250", " 7:05:09 trailing", "９:00", "00:60:00", "", "::", "1:2:3:4"]
    counts = [0, -1, 86399999, 86400000, 2**63 - 1, -2**63, 3723000]
    for i, text in enumerate(texts):
        count = counts[i % len(counts)] & 0xFFFFFFFFFFFFFFFF
        write("TimeText", "t%02d" % i, struct.pack(">Q", count) + text.encode())


def ram_seeds():
    lists = {
        "crlf": b"C:\\clips\\a.avi\r\nhttp://example.com/s.rm\r\n\r\n  /home/u/b.mp4  \r\n",
        "lf": b"/a.mp4\n/b.mp4\n",
        "cr": b"rtsp://h/x\rfile:///c.ra\r",
        "bom": b"\xef\xbb\xbf/bom.mp4\r\n",
        "ctrl-z": b"/a.avi\r\n\x1a/after.avi\r\n",
        "shift-jis": "C:\\動画\\再生.avi\r\n".encode("shift_jis"),
        "latin1": b"/music/caf\xe9.mp3\n",
        "big5": "/影片.avi\n".encode("big5"),
    }
    for i, (name, data) in enumerate(lists.items()):
        write("RamFile", name, bytes([i]) + data)


def list_seeds():
    """Lists in the shapes other players write; the first byte shapes the read (see each
    target)."""
    m3u = {
        "plain": b"a.mp3\nsub/b.ogg\n",
        "extended-crlf": b"#EXTM3U\r\n#EXTINF:215,Artist - Title\r\nMusic\\a.mp3\r\n"
                         b"#EXTINF:-1,Radio\r\nhttp://radio.example/live\r\n",
        "m3u8-bom": "\ufeff#EXTM3U\n#EXTINF:12,日本\n/m/日本.flac\nfile:///m/caf%C3%A9.mp3\n".encode(),
        "latin1": b"#EXTM3U\n/m/caf\xe9.mp3\ncaf\xe9.mp3\n",
        "binary": b"ID3\x04\x00\x00\x00\x00\x00\x00",
        "xml": b"<?xml version='1.0'?><playlist/>",
        "names-to-encode": b"#EXTM3U\n/m/#a?.mp3\n/m/trail \t\n/m/caf\xe9.mp3\nrel?x.mp3\n"
                           b"http://h/a b \n",
        "m3u8-names-to-encode": b"#EXTM3U\n/m/#a?.mp3\n/m/trail \t\n/m/caf\xe9.mp3\n"
                                b"rel?x.mp3\nhttp://h/a b \n/m/100%.mp3\n",
    }
    for i, (name, data) in enumerate(m3u.items()):
        write("M3uFile", name, bytes([i]) + data)
    pls = {
        "any-standard": b"\x01[playlist]\r\nFile1=/m/a.mp3\r\nTitle1=A\r\nLength1=-1\r\n"
                        b"File2=http://r.example/s\r\nNumberOfEntries=2\r\nVersion=2\r\n",
        "any-unordered": b"\x01; comment\n[Playlist]\nfile10=j.mp3\nFILE2=b.mp3\nFile1 = a.mp3 \n"
                         b"[other]\nFile3=c.mp3\n",
        "any-lies": b"\x01[playlist]\nNumberOfEntries=9\nFile1=a.mp3\n",
        "any-latin1": b"\x01[playlist]\nFile1=/m/caf\xe9.mp3\nFile2=caf\xe9.mp3\n",
        "any-no-header": b"\x01File1=a.mp3\n",
        "any-nul": b"\x01[playlist]\nFile1=/m/a\x00.mp3\nFile2=/m/b.mp3\n",
        "made-right": b"\x02" + sized("/m/a.mp3") + sized("http://h/s") + sized(" x y "),
        "made-wrong": b"\x04" + sized("a") + sized("日本.ogg"),
    }
    for name, data in pls.items():
        write("PlsFile", name, data)
    vlc = ('<?xml version="1.0" encoding="UTF-8"?>\n'
           '<playlist xmlns="http://xspf.org/ns/0/" xmlns:vlc="http://www.videolan.org/vlc/playlist/ns/0/" version="1">\n'
           '<title>Playlist</title><trackList><track>'
           '<location>file:///home/u/My%20Music/caf%C3%A9.mp3</location><title>Caf&#233;</title>'
           '<duration>215000</duration><extension application="http://www.videolan.org/vlc/playlist/0">'
           '<vlc:id>0</vlc:id></extension></track><track><title>none</title></track>'
           '<track><location>http://r.example/a?x=1&amp;y=2</location></track></trackList>'
           '<extension application="http://www.videolan.org/vlc/playlist/0"><vlc:item tid="0"/></extension>'
           '</playlist>\n')
    xspf = {
        "any-vlc": b"\x01" + vlc.encode(),
        "any-broken": b"\x01<playlist><trackList><track><location>a</track>",
        "any-foreign": b"\x01<?xml version='1.0'?><html><body/></html>",
        "any-entities": b"\x01<!DOCTYPE p [<!ENTITY a 'aaaa'>]><playlist><trackList><track>"
                        b"<location>&a;&a;</location></track></trackList></playlist>",
        "any-bases": b"\x01<playlist xml:base='one/'><trackList xml:base='two/'><track "
                     b"xml:base='../../three/'><location>a.ogg</location></track><track "
                     b"xml:base='http://h/x/'><location xml:base='../y/'>b</location></track>"
                     b"</trackList></playlist>",
        "any-outside-entity": b"\x01<!DOCTYPE p [<!ENTITY xxe SYSTEM 'file:///etc/passwd'>]>"
                              b"<playlist><trackList><track><location>http://h/&xxe;</location>"
                              b"</track></trackList></playlist>",
        "made-plain": b"\x00" + sized("/m/a.mp3") + sized("clips/b%20c.ogg"),
        "made-extensions": b"\x06" + sized("http://h/s?a=1&b=<2>") + sized("日本"),
    }
    for name, data in xspf.items():
        write("XspfFile", name, data)


def dropped_seeds():
    paths = ["/home/u/clip.MP4", "C:\\a.b\\clip", "/x.y/z", "name.ram", "a:b.avi", "/dir.avi/",
             "/x/.mkv", "/x/clip.tar.gz", "/x/動画.webm", ""]
    for i, path in enumerate(paths):
        write("DroppedFiles", "p%02d" % i, bytes([i * 7]) + struct.pack(">I", i * 0x01010101) + path.encode())


def handoff_seeds():
    def request(text):
        return b"KRV\x01" + struct.pack(">I", len(text)) + text

    write("HandOffRequest", "whole", request(b"/home/u/clip.mp4"))
    write("HandOffRequest", "empty-text", request(b""))
    write("HandOffRequest", "latin1", request(b"/m/caf\xe9.avi"))
    write("HandOffRequest", "short", request(b"abcdef")[:-2])
    write("HandOffRequest", "long", b"KRV\x01" + struct.pack(">I", 64 * 1024 + 1) + b"x")
    write("HandOffRequest", "extra", request(b"a") + b"b")
    write("HandOffRequest", "wrong-magic", b"KRV\x02\x00\x00\x00\x01a")
    write("HandOffRequest", "header-only", b"KRV\x01")


def location_seeds():
    def step(how, text, start=0, stop=0):
        return bytes([how]) + sized(text) + bytes([start, stop])

    seeds = {
        "relative-file": step(1 | 0 << 1, ""),
        "absolute-file": step(1 | 0 << 1 | 0x10, "") + step(1, "", 1, 1),
        "file-url": step(1 | 0x10 | 0x20, "") + step(0, "file://otherhost/clip.mp4"),
        "folder-and-pipe": step(1 | 1 << 1, "") + step(1 | 2 << 1, "", 1),
        "streams": step(0, "http://example.com/a.mp4", 1) + step(0, "RTSP://h/x") + step(0, "udp://@:1234"),
        "refused": step(0, "av://lavfi:sine") + step(0, "memory://x") + step(0, "fd://0") + step(0, "-x"),
        "dotdot": step(1 | 5 << 1, "") + step(1 | 4 << 1, "../"),
        "nul": step(0, "clip.mp4\x00.txt") + step(0, "http://h/\x00"),
        "latin1": step(1, b"caf\xe9") + step(0, b"/tmp/\xff\xfe.avi"),
    }
    for name, data in seeds.items():
        write("MediaLocation", name, data)


def bmp(width, height, bits, palette=None, header=40, top_down=False, bitfields=False):
    """A BMP file of a diagonal pattern, written here field by field."""
    rows = []
    for y in range(height):
        if bits >= 24:
            row = b"".join(bytes([x * 20 % 256, y * 40 % 256, (x + y) * 9 % 256] + ([0] if bits == 32 else [])) for x in range(width))
        else:
            per = 8 // bits
            row = b""
            for x0 in range(0, width, per):
                byte = 0
                for i in range(per):
                    index = ((x0 + i + y) % (1 << bits)) if x0 + i < width else 0
                    byte |= index << (8 - bits * (i + 1))
                row += bytes([byte])
        rows.append(row + b"\0" * (-len(row) % 4))
    pixels = b"".join(rows if top_down else rows[::-1])
    entry = 3 if header == 12 else 4
    colours = palette if palette is not None else (1 << bits if bits <= 8 else 0)
    table = b"".join(bytes([i * 37 % 256, i * 91 % 256, i * 13 % 256] + ([] if entry == 3 else [0])) for i in range(colours))
    if header == 12:
        info = struct.pack("<IHHHH", 12, width, height, 1, bits)
    else:
        info = struct.pack("<IiiHHIIiiII", header, width, -height if top_down else height, 1, bits,
                           3 if bitfields else 0, len(pixels), 2835, 2835, palette or 0, 0)
        masks = struct.pack("<III", 0x00FF0000, 0x0000FF00, 0x000000FF)
        info += (masks + b"\0" * (header - 52)) if header > 40 else b""
        if header == 40 and bitfields:
            info += masks
    offset = 14 + len(info) + len(table)
    return b"BM" + struct.pack("<IHHI", offset + len(pixels), 0, 0, offset) + info + table + pixels


def pictures():
    """BMP and JPEG seeds and masks, drawn small."""
    bmps = {
        "v3-24.bmp": bmp(9, 5, 24),
        "v3-8.bmp": bmp(7, 4, 8, palette=16),
        "v3-4.bmp": bmp(9, 3, 4),
        "v3-1.bmp": bmp(13, 3, 1),
        "core-8.bmp": bmp(5, 4, 8, header=12),
        "v5-32.bmp": bmp(6, 4, 32, header=124),
        "v4-24-topdown.bmp": bmp(6, 4, 24, header=108, top_down=True),
        "v3-32-bitfields.bmp": bmp(4, 4, 32, bitfields=True),
        "v3-1-short-palette.bmp": bmp(16, 2, 1, palette=1),
    }
    for name, data in bmps.items():
        write("BmpReader", name, data)
    write("BmpReader", "v3-24-no-last-padding.bmp", bmp(9, 5, 24)[:-1])
    shutil.copy(os.path.join(ROOT, "resources", "TrackBar.bmp"), os.path.join(CORPUS, "BmpReader", "trackbar.bmp"))

    with tempfile.TemporaryDirectory() as tmp:
        source = os.path.join(tmp, "source.ppm")
        with open(source, "wb") as f:
            f.write(b"P6 17 11 255\n" + bytes((x * 15 + c * 80 + y * 20) % 256 for y in range(11) for x in range(17) for c in range(3)))
        jpegs = {
            "baseline.jpg": ["-quality", "80"],
            "progressive.jpg": ["-progressive"],
            "gray.jpg": ["-grayscale"],
            "444.jpg": ["-sample", "1x1"],
            "restart.jpg": ["-restart", "1B"],
            "arithmetic.jpg": ["-arithmetic"],
            "optimized.jpg": ["-optimize", "-quality", "30"],
        }
        for name, args in jpegs.items():
            out = os.path.join(tmp, name)
            subprocess.run(["cjpeg"] + args + ["-outfile", out, source], check=True)
            write("JpegReader", name, open(out, "rb").read())
        write("JpegReader", "skin-mask.jpg", open(os.path.join(ROOT, "resources", "PlayerMask.jpg"), "rb").read())
        data = open(os.path.join(CORPUS, "JpegReader", "baseline.jpg"), "rb").read()
        write("JpegReader", "truncated.jpg", data[: len(data) // 2])

    # Masks: key, tolerance, format byte, width, four colours, then pixel picks.
    def mask(key, tolerance, alpha, width, colours, picks):
        head = struct.pack(">II", key, tolerance) + bytes([alpha, width - 1])
        return head + b"".join(struct.pack(">I", c) for c in colours) + bytes(picks)

    write("MaskRegion", "two-colours", mask(0x00FF00FF, 0, 0, 20, [0xFFFF00FF, 0xFF000000, 0xFF102030, 0xFFFF00FF], [0x51, 0x04] * 30))
    write("MaskRegion", "wide", mask(0x000000, 0x101010, 1, 150, [0x00000000, 0xFFFFFFFF, 0x80080808, 0xFF111111], list(range(256)) * 3))
    write("MaskRegion", "system-colour", mask(0x80000005, 0x80000010, 0, 64, [0xFF000000, 0xFFFFFFFF, 0xFF008B8B, 0xFF00FFFF], [0xE4] * 200))
    write("MaskRegion", "all-cut", mask(0, 0xFFFFFF, 0, 70, [1, 2, 3, 4], [0x1B] * 100))


def skin_folder_seeds():
    """Whole skin folders: a byte choosing the player (even) or list skin (odd), then files,
    each a name (a length byte, the bytes) and its contents (four length bytes, the bytes)."""
    def folder(list_skin, files):
        out = bytes([1 if list_skin else 0])
        for name, data in files:
            if isinstance(data, str):
                data = data.encode("utf-8")
            out += sized(name) + struct.pack(">I", len(data)) + data
        return out

    def skin(mask, up, down, rows="", bars=""):
        return ("[VERSION]\r\nVer=150\r\n[BITMAPINFO]\r\nMaskBitmap=%s\r\nMouseUpBitmap=%s\r\n"
                "MouseDownBitmap=%s\r\nMouseOnBitmap=%s\r\n[HOTAREAINFO]\r\n%s"
                "[DISPLAYINFO]\r\nCount=1\r\n1=TEXT_TITLE, Arial, TRUE, FALSE, 9, $FFFFFF, 2, 2, Normal\r\n"
                "[TRACKBARINFO]\r\n%s" % (mask, up, down, down, rows, bars))

    rows = "Count=2\r\n1=BUTTON_PLAY, 2, 10, 12, 8, Play\r\n2=BUTTON_TOP, 16, 10, 12, 8, Top, FALSE\r\n"
    bars = "Count=1\r\n1=TRACKBAR_VOLUME, T.bmp, T.bmp, 2, 2, 30, H, 50, Volume\r\n"
    white = bmp(40, 20, 24)
    black_row = b"\0" * (40 * 3)
    black = white[:54] + black_row * 20
    thumb = bmp(6, 5, 24)
    jpeg = open(os.path.join(CORPUS, "JpegReader", "baseline.jpg"), "rb").read()
    write("SkinFolder", "bmp-skin", folder(False, [("Skin.ini", skin("M.bmp", "U.bmp", "D.bmp", rows, bars)),
                                                   ("M.bmp", black), ("U.bmp", bmp(40, 20, 8, palette=16)),
                                                   ("D.bmp", bmp(40, 20, 4)), ("T.bmp", thumb)]))
    write("SkinFolder", "jpeg-list-skin", folder(True, [("ListSkin.ini", skin("m.jpg", "U.JPG", "d.jpg", "Count=1\r\n1=OK, 1, 1, 5, 5, OK\r\n")),
                                                        ("M.jpg", jpeg), ("u.jpg", jpeg), ("d.jpg", jpeg)]))
    all_white = bmp(4, 4, 24)[:54] + b"\xff" * (12 * 4)
    write("SkinFolder", "mask-cuts-all", folder(False, [("Skin.ini", skin("W.bmp", "W.bmp", "W.bmp")),
                                                        ("W.bmp", all_white)]))
    write("SkinFolder", "name-outside", folder(False, [("Skin.ini", skin("../M.bmp", "U.bmp", "U.bmp")),
                                                       ("U.bmp", white)]))
    write("SkinFolder", "picture-missing", folder(False, [("Skin.ini", skin("M.bmp", "U.bmp", "D.bmp", rows, bars)),
                                                          ("M.bmp", black)]))
    write("SkinFolder", "picture-broken", folder(False, [("Skin.ini", skin("M.bmp", "U.jpg", "U.jpg")),
                                                         ("M.bmp", black), ("U.jpg", jpeg[: len(jpeg) // 2])]))


def main():
    if os.path.isdir(CORPUS):
        for entry in os.listdir(CORPUS):
            # Seeds are remade; kept finds (named crash-* or found-*) stay.
            folder = os.path.join(CORPUS, entry)
            for name in os.listdir(folder):
                if not name.startswith(("crash-", "found-")):
                    os.remove(os.path.join(folder, name))
    settings_seeds()
    ini_seeds()
    split_seeds()
    integer_seeds()
    time_seeds()
    ram_seeds()
    list_seeds()
    dropped_seeds()
    handoff_seeds()
    location_seeds()
    pictures()
    skin_folder_seeds()
    return 0


if __name__ == "__main__":
    sys.exit(main())
