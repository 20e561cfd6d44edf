#!/usr/bin/env python3
"""Writes examples/acme/log.nsf.activity.jsonl: a deterministic sample activity stream.

Records of the three exported types and a few others, in ascending time with some times shared,
with values that exercise the row format: commas, double quotes, line feeds, non-ASCII text,
numbers, empty text, values of other types, and records lacking a required item.
"""
import datetime
import json
import pathlib
import random

OUTPUT = pathlib.Path(__file__).resolve().parent.parent / "examples/acme/log.nsf.activity.jsonl"
RECORDS = 320

USERS = ["CN=Jane Doe/O=Acme", "CN=John Smith/OU=Sales/O=Acme", "Doe, Jane",
         "CN=Jürgen Müller/O=Acme", "CN=Søren Ærø/O=Acme", "CN=李雷/O=Acme", "Anonymous",
         "CN=O\"Brien Pat/O=Acme", ""]
DATABASES = ["mail/jdoe.nsf", "names.nsf", "catalog.nsf", "apps/sales, 2026.nsf",
             "apps/crm \"beta\".nsf", "discussion/café.nsf", "log.nsf"]
SERVERS = ["CN=Hub01/O=Acme", "CN=Mail01/O=Acme"]
REQUESTS = ["GET /names.nsf?OpenDatabase HTTP/1.1", "POST /mail/jdoe.nsf/($Inbox)?OpenView HTTP/1.1",
            "GET /search?q=\"quarterly report\",2026 HTTP/1.1", "GET /café/menü.html HTTP/1.1",
            "GET / HTTP/1.0"]
AGENTS = ["Mail Rules", "Archive, nightly", "Clean \"old\" docs", "Überwachung", "Router\nfollow-up"]
AGENTS_TEXT = ["(Scheduled) Mail Rules", "Archive"]
USER_AGENTS = ["Mozilla/5.0 (Windows NT 10.0; Win64; x64)", "curl/8.4.0",
               "Mozilla/5.0 (X11; Linux x86_64)\nGecko/20100101", ""]
OTHER_TYPES = ["Domino.IMAP", "Domino.REPLICATION", "Domino.SMTP", "domino.http"]


def time_text(moment):
    return moment.strftime("%Y-%m-%dT%H:%M:%S.") + "%02dZ" % (moment.microsecond // 10000)


def database_record(rng):
    items = [["DatabaseName", rng.choice(DATABASES)], ["UserName", rng.choice(USERS)],
             ["SessionId", "S%05d" % rng.randrange(100000)],
             ["EventType", rng.choice(["Open", "Close", "Read, write", 12])],
             ["DocumentsRead", rng.randrange(0, 5000)],
             ["DocumentsWritten", rng.choice([0, 3, 0.5, 1234.5, 1e20])],
             ["ServerName", rng.choice(SERVERS)]]
    if rng.random() < 0.1:
        items.insert(0, ["UserName", "CN=First Wins/O=Acme"])
    if rng.random() < 0.08:
        items = [item for item in items if item[0] != "UserName"]
    return items


def http_record(rng):
    items = [["RequestLine", rng.choice(REQUESTS)], ["AuthUser", rng.choice(USERS)],
             ["Partner", "10.0.%d.%d" % (rng.randrange(256), rng.randrange(256))],
             ["URITranslated", rng.choice(["/local/notesdata/names.nsf", "", "C:\\Domino\\café"])],
             ["UserAgent", rng.choice(USER_AGENTS)], ["StatusCode", rng.choice([200, 302, 404, 500])]]
    if rng.random() < 0.08:
        items = [item for item in items if item[0] != "AuthUser"]
    if rng.random() < 0.1:
        items.append(["Elapsed", {"time": "0000000000000064"}])
    return items


def agent_record(rng):
    items = [["DatabaseName", rng.choice(DATABASES)], ["UserName", rng.choice(USERS)],
             ["TaskName", rng.choice(AGENTS)], ["ElapsedRunTime", rng.choice([0.25, 3, 17.125, 60])]]
    if rng.random() < 0.15:
        items.append(["Targets", AGENTS_TEXT])
    if rng.random() < 0.1:
        items.append(["Signature", {"type": 1, "hex": "00ff10"}])
    return items


def other_record(rng):
    return [["UserName", rng.choice(USERS)], ["DatabaseName", rng.choice(DATABASES)],
            ["TaskName", "Replicator"], ["RequestLine", "NOOP"], ["AuthUser", "x"]]


def main():
    rng = random.Random(2026)
    moment = datetime.datetime(2026, 12, 1, 8, 0, 0)
    lines = []
    for number in range(RECORDS):
        if number == RECORDS // 3:
            lines.append("")  # readers skip blank lines
        roll = rng.random()
        if roll < 0.4:
            kind, items = "Domino.NOTES.Database", database_record(rng)
        elif roll < 0.72:
            kind, items = "Domino.HTTP", http_record(rng)
        elif roll < 0.88:
            kind, items = "Domino.AGENT", agent_record(rng)
        else:
            kind, items = rng.choice(OTHER_TYPES), other_record(rng)
        lines.append(json.dumps({"type": kind, "time": time_text(moment), "items": items},
                                ensure_ascii=False))
        if rng.random() < 0.7:
            moment += datetime.timedelta(seconds=rng.randrange(1, 90), milliseconds=10 * rng.randrange(100))
    OUTPUT.write_text("\n".join(lines) + "\n", encoding="utf-8")


if __name__ == "__main__":
    main()
