#!/usr/bin/env python3
"""Writes a large sample Notes environment for the simulated runtime, deterministic per seed.

    tools/make-environment.py OUT_DIR [--seed N] [--catalog N] [--activity N] [--people N]
                              [--servers N]

OUT_DIR receives notes.ini, servers.json, hub01/catalog.nsf (catalog notes, most of them for
Hub01), log.nsf with log.nsf.activity.jsonl (activity records), names.nsf (people, servers and
connection documents) and mail01/names.nsf (server documents).

The modes over it, from OUT_DIR (bench/run does the same with a notes.ini of its own):
    dxlexporter -logscan -o OUT =notes.ini
    dxlexporter -nab -o OUT =notes.ini
    dxlexporter -servers -o OUT =notes.ini
    dxlexporter -catalog -s Hub01/Big -o OUT =notes.ini      (the catalog lives on Hub01)
"""
import argparse
import json
import os
import random

ORG = "Big"
TYPES = ["Domino.NOTES.Database", "Domino.HTTP", "Domino.AGENT"]
FIRST = ["Anna", "Bo", "Chloé", "Dmitri", "Eve", "Fatima", "Günter", "Hiro", "Ines", "Jon"]
LAST = ["Smith", "O'Neil", "Müller", "Ngata", "Larsson", "Dubois", "Kowalski", "Tanaka"]
AGENTS = ["Mozilla/5.0 (X11; Linux x86_64)", "curl/8.5.0", "Notes/12.0, \"quoted\""]


def canonical(name):
    return f"CN={name}/O={ORG}"


def write_json(path, data):
    os.makedirs(os.path.dirname(path), exist_ok=True)
    with open(path, "w", encoding="utf-8") as out:
        json.dump(data, out, ensure_ascii=False, separators=(",", ":"))
        out.write("\n")


def replica_id(rng):
    return {"time": f"{rng.getrandbits(32):08X}{rng.getrandbits(32):08X}"}


def catalog(rng, count):
    notes = []
    for i in range(count):
        server = "Hub01" if i % 10 else f"Spoke{i % 7:02d}"
        notes.append({"id": 4 * (i + 1), "items": [
            ["Form", "Notefile"],
            ["Server", canonical(server)],
            ["Title", f"Database {i} & friends"],
            ["Pathname", f"apps/db{i:06d}.nsf"],
            ["ReplicaId", replica_id(rng)],
            ["DbSize", float(rng.randint(1, 10**9))],
        ]})
    return {"title": "Catalog", "replicaId": "C1257A3B00000001", "notes": notes}


def activity_lines(rng, count):
    day = 2461376  # 2026-12-01
    hundredths = 8 * 3600 * 100
    for i in range(count):
        if rng.random() < 0.7:
            hundredths += rng.randint(1, 500)
        if hundredths >= 8640000:
            day, hundredths = day + 1, 0
        kind = TYPES[i % 3] if i % 17 else "Domino.Other"
        user = f"{rng.choice(FIRST)} {rng.choice(LAST)}"
        if kind == "Domino.HTTP":
            items = [["RequestLine", f"GET /apps/db{rng.randint(0, 999)}.nsf?Open&x={i} HTTP/1.1"],
                     ["AuthUser", user], ["Partner", f"10.0.{i % 256}.{i % 7}"],
                     ["URITranslated", f"/apps/db{i % 1000}.nsf"],
                     ["UserAgent", rng.choice(AGENTS)], ["StatusCode", float(rng.choice([200, 302, 404]))]]
        elif kind == "Domino.AGENT":
            items = [["DatabaseName", f"apps/db{i % 1000}.nsf"], ["UserName", canonical(user)],
                     ["TaskName", f"Agent {i % 13}"], ["ElapsedRunTime", float(rng.randint(0, 9000)) / 100]]
        else:
            items = [["DatabaseName", f"apps/db{i % 1000}.nsf"], ["UserName", canonical(user)],
                     ["SessionId", f"S{i:08d}"], ["EventType", "Open"],
                     ["DocumentsRead", float(rng.randint(0, 500))],
                     ["DocumentsWritten", float(rng.randint(0, 50))], ["ServerName", canonical("Hub01")]]
        yield {"type": kind, "time": f"{day:08X}{hundredths:08X}", "items": items}


def names(rng, people, servers):
    notes, people_view, server_view, connections = [], [], [], []
    next_id = 4
    for i in range(people):
        full = f"{rng.choice(FIRST)} {rng.choice(LAST)} {i}"
        notes.append({"id": next_id, "items": [
            ["Form", "Person"], ["FullName", [canonical(full), full]],
            ["MailServer", canonical("Mail01")], ["InternetAddress", f"user{i}@big.example"]]})
        if i % 100 == 0:
            people_view.append({"category": full[0]})
        people_view.append(next_id)
        next_id += 4
    for i in range(servers):
        notes.append({"id": next_id, "items": [["Form", "Server"], ["ServerName", canonical(f"Srv{i:05d}")]]})
        server_view.append(next_id)
        next_id += 4
        if i % 10 == 0:
            notes.append({"id": next_id, "items": [["Form", "Connection"], ["Destination", canonical(f"Srv{i:05d}")]]})
            connections.append(next_id)
            next_id += 4
    return {"title": "Directory", "replicaId": "C1257A3B00000002", "notes": notes,
            "views": {"($People)|People": people_view, "($Servers)|Servers": server_view,
                      "$Connections": connections}}


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("out")
    parser.add_argument("--seed", type=int, default=1)
    parser.add_argument("--catalog", type=int, default=1000)
    parser.add_argument("--activity", type=int, default=10000)
    parser.add_argument("--people", type=int, default=2000)
    parser.add_argument("--servers", type=int, default=500)
    args = parser.parse_args()
    rng = random.Random(args.seed)
    out = args.out
    os.makedirs(out, exist_ok=True)
    with open(os.path.join(out, "notes.ini"), "w") as ini:
        ini.write(f"[Notes]\nDirectory=.\nMailServer={canonical('Mail01')}\n")
    write_json(os.path.join(out, "servers.json"), {canonical("Hub01"): "hub01", canonical("Mail01"): "mail01"})
    write_json(os.path.join(out, "hub01", "catalog.nsf"), catalog(rng, args.catalog))
    write_json(os.path.join(out, "log.nsf"), {"title": "Log"})
    with open(os.path.join(out, "log.nsf.activity.jsonl"), "w", encoding="utf-8") as stream:
        for record in activity_lines(rng, args.activity):
            stream.write(json.dumps(record, ensure_ascii=False, separators=(",", ":")) + "\n")
    directory = names(rng, args.people, args.servers)
    write_json(os.path.join(out, "names.nsf"), directory)
    mail = {"title": "Mail01 Directory", "notes": [n for n in directory["notes"]
                                                  if n["items"][0][1] == "Server"]}
    mail["views"] = {"($Servers)": [n["id"] for n in mail["notes"]]}
    write_json(os.path.join(out, "mail01", "names.nsf"), mail)


if __name__ == "__main__":
    main()
