#!/usr/bin/env python3
"""Writes the seed corpora in fuzz/corpus/<target>/ (small, valid and nearly
valid inputs). Run from anywhere; the package seeds need build/bin/vexa-pack
(or --pack PATH). Existing seed files are replaced, others are left alone."""
import argparse
import base64
import os
import sqlite3
import struct
import subprocess
import tempfile

HERE = os.path.dirname(os.path.abspath(__file__))
SEP = b"\xf5"  # chunk separator of the stream targets


def crc16(data):
    crc = 0xFFFF
    for b in data:
        crc ^= b
        for _ in range(8):
            crc = (crc >> 1) ^ 0xA001 if crc & 1 else crc >> 1
    return crc


def lo_first(frame):
    c = crc16(frame)
    return frame + bytes([c & 0xFF, c >> 8])


def tilde(frame):
    c = crc16(frame)
    return frame + bytes([c >> 8, c & 0xFF, 0x7F])


def answer(addr, text):
    data = text.encode("gb2312")
    return lo_first(bytes([addr, 3, len(data)]) + data)


def qbytes(b):
    return struct.pack(">I", len(b)) + b


def qstring(s):
    return qbytes(s.encode("utf-16-be"))


def inner_map(entries):
    out = struct.pack(">I", len(entries))
    for key, value in entries:
        out += qstring(key)
        if isinstance(value, str):
            out += struct.pack(">IB", 10, 0) + qstring(value)
        else:
            out += struct.pack(">IB", 12, 0) + qbytes(value)
    return out


def write(target, name, data):
    folder = os.path.join(HERE, "corpus", target)
    os.makedirs(folder, exist_ok=True)
    with open(os.path.join(folder, name), "wb") as f:
        f.write(data)


def main():
    parser = argparse.ArgumentParser(description=__doc__)
    parser.add_argument("--pack", default=os.path.join(HERE, "..", "build", "bin", "vexa-pack"))
    args = parser.parse_args()

    item = answer(1, "设备名称:一号流量计")
    end = lo_first(bytes([1, 3, 0]))
    ident = tilde(bytes.fromhex("7e0205010100") + bytes([0x0E]) + b"!Find VX-200 OK")
    write("frame", "item-answer", b"\x01\x00" + item)
    write("frame", "item-answer-split", b"\x01\x00" + item[:4] + SEP + item[4:9] + SEP + item[9:])
    write("frame", "end-of-list", b"\x01\x00" + end)
    write("frame", "identify-request", b"\x01\x01" + bytes.fromhex("7e0502293f0000c2c47f"))
    write("frame", "identify-reply", b"\x01\x01" + ident[:6] + SEP + ident[6:])
    write("frame", "clock-ok", b"\xff\x00" + lo_first(b"\xff\x03\x02OK"))
    write("frame", "address-7e", b"\x7e\x00" + lo_first(b"\x7e\x03\x01A"))

    write("item_answer", "name-value", b"\x01" + item)
    write("item_answer", "options", b"\x01" + answer(1, "波特率(9600/19200/38400):9600"))
    write("item_answer", "command", b"\x01" + answer(1, "恢复出厂设置"))
    write("item_answer", "colons", b"\x01" + answer(1, "时间:12:30:45"))
    write("item_answer", "end", b"\x01" + end)

    bom = b"\xef\xbb\xbf"
    write("csv_line", "export", bom + "00. 设备名称, 一号流量计\n01. 型号, VX-200\n02. 波特率(9600/19200), 9600\n03. 恢复出厂设置,\n".encode())
    write("csv_line", "comma-in-value", "05. 地址, a,b\r\n".encode())
    write("csv_line", "one-line", b"12. name,value")
    write("csv_line", "utf16", "\ufeff02. 名称, 值\n".encode("utf-16-le"))

    write("skipitems", "pairs", "VX-200\nVexa 流量计, VX-200\nVX 300,VX-300\n".encode())
    write("skipitems", "crlf-zero", b"VX-200\r\nVX-\x00300\n,\n")

    with tempfile.TemporaryDirectory() as tmp:
        image = os.path.join(tmp, "image.bin")
        with open(image, "wb") as f:
            f.write(bytes((i * 131) & 0xFF for i in range(300)))
        package = os.path.join(tmp, "p.vexabin")
        subprocess.run([args.pack, "--device", "Vexa 流量计", "--version", "V1.03", "--model", "VX-200",
                        "--image", image, "-o", package], check=True)
        with open(package, "rb") as f:
            write("package_file", "valid", f.read())
        con = sqlite3.connect(package)
        text = con.execute("select * from INFO").fetchone()[0]
        con.close()
    # A few hundred bytes that SQLite would expand to 900 MB when the content
    # column is read (a generated column); another hides it in a later column.
    for name, columns in (("bomb-first-column", "DATA text as (hex(zeroblob(1))), PAD text"),
                          ("bomb-later-column", "DATA text, BAD text as (hex(zeroblob(1)))")):
        path = os.path.join(HERE, "corpus", "package_file", name)
        if os.path.exists(path):
            os.remove(path)
        con = sqlite3.connect(path)
        con.execute("pragma page_size = 512")
        con.execute("create table INFO (%s)" % columns)
        if "BAD" in columns:
            con.execute("insert into INFO (DATA) values (?)", (text,))
        else:
            con.execute("insert into INFO (PAD) values ('')")
        con.commit()
        con.execute("vacuum")
        # Grown only now, so that writing the row does not compute it.
        con.execute("pragma writable_schema = on")
        con.execute("update sqlite_master set sql = replace(sql, 'zeroblob(1)', 'zeroblob(450000000)')")
        con.commit()
        con.close()
    text = text.encode() if isinstance(text, str) else bytes(text)
    write("package_text", "valid", text)
    wrapped = b"\n".join(text[i:i + 76] for i in range(0, len(text), 76))
    write("package_text", "line-breaks", wrapped)
    outer = base64.b64decode(text)
    write("package_streams", "outer", b"\x00" + outer)
    content = inner_map([("{01F1095D-25DB-41A1-B694-D978198993AD}", "Vexa 流量计"),
                         ("{160BEA7C-07BB-4FCC-BF7E-3C9BDF2EE0B6}", "V1.03"),
                         ("{DBCA09A2-3B0F-49C8-892D-BBF54C0ACD64}", "VX-200"),
                         ("{B2D57D72-C2D0-47C1-8A16-CC2303201956}", b"\x01\x02\x03")])
    write("package_streams", "inner", b"\x01" + content)
    write("package_streams", "inner-small", b"\x01" + inner_map([("a", "b")]))
    # A list value (type 9) and an int (type 2): other value types the format allows.
    write("package_streams", "inner-list", b"\x01" + struct.pack(">I", 1) + qstring("k")
          + struct.pack(">IBI", 9, 0, 1) + struct.pack(">IBi", 2, 0, 7))

    page = ("<html>\n <head><meta charset=\"utf-8\"/><title>Vexa 固件下载</title></head>\n <body>\n"
            "  <div class=\"list\">\n"
            "   <div class=\"head\"><div>名称</div><div>大小</div><div>下载</div></div>\n"
            "   <div class=\"row\"><div>VX-200 V1.03</div><div>24.3 KB</div>"
            "<div><a href=\"http://127.0.0.1:8716/files/VX-200_V1.03.vexabin\">下载</a></div></div>\n"
            "   <div class=\"row\"><div>VX-300 V2.00</div><div>16.0 KB</div>"
            "<div><a href=\"http://127.0.0.1:8716/files/VX-300%20V2.00.vexabin\">下载</a></div></div>\n"
            "  </div>\n </body>\n</html>\n")
    write("download_page", "page", page.encode())
    write("download_page", "entity", b"<!DOCTYPE html [<!ENTITY a \"x\">]><html><body><div><div/>"
          b"<div><div>&a;</div><div><a href=\"&a;\"/></div></div></div></body></html>")
    write("download_page", "empty-list", b"<html><body><div><div/></div></body></html>")
    # 30,000 nested elements (210 KB), and depth built up through entities.
    write("download_page", "deep-nesting", b"<html><body><div><div/>" + b"<b>" * 30000 + b"</b>" * 30000
          + b"</div></body></html>")
    entities = "".join('<!ENTITY e%d "<i>&e%d;</i>">' % (i, i - 1) for i in range(1, 400))
    write("download_page", "deep-entities", ('<!DOCTYPE html [<!ENTITY e0 "x">%s]><html><body><div><div/>'
                                             '<div>&e399;</div></div></body></html>' % entities).encode())

    hist = "2024-05-06 07:08:09, 1.23, 4.56\r\n2024-05-06 07:09:09, 1.24, 4.57\r\n结束".encode("gb2312")
    write("history_lines", "lines", hist)
    write("history_lines", "chunked", hist[:10] + SEP + hist[10:21] + SEP + hist[21:])
    write("history_lines", "split-char", "温度\n".encode("gb2312")[:1] + SEP + "温度\n".encode("gb2312")[1:])

    debug_answer = answer(1, "调试:1")
    write("monitor_lines", "lines", b"\x01" + b"T=21.5\r\n" + SEP + b"P=1.0" + SEP + b"2\r\nQ\n")
    write("monitor_lines", "switch-amid-lines", b"\x01" + b"T=21.5\r\nP=" + debug_answer + b"1.0\r\n")
    write("monitor_lines", "switch-alone", b"\x01" + debug_answer)

    # Options byte: bit 0 hex, bits 1-2 line end (none, cr, lf, crlf), bit 3 CRC.
    commands = "读地址\thex\tnone\t01 03 4B\n调试\ttext\tcrlf\t调试:1\n带制表\ttext\tcr\ta\tb\x01\n"
    write("monitor_send", "hex-crc-crlf", b"\x0f" + b"01 03 4b 00")
    write("monitor_send", "hex-odd", b"\x01" + b"01 0 34")
    write("monitor_send", "text-lf", b"\x04" + "设备地址?".encode())
    write("monitor_send", "command-file", b"\x00" + b"\xef\xbb\xbf" + commands.replace("\n", "\r\n").encode())
    write("monitor_send", "regress-text-ending-in-cr", b"\x00" + b"a\ttext\tnone\tx\r\r\n")


if __name__ == "__main__":
    main()
