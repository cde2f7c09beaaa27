#!/usr/bin/env python3
"""Writes a synthetic COBOL program of about N lines with shared copybooks, for timing the
front end (cobol-adt) against `cobc -fsyntax-only`.

usage: generate-cobol.py --lines 50000 --out DIR [--copybooks 20] [--name BIGPROG]

The program includes every copybook once plainly and once with REPLACING, so the data division
and the expansion both get work; the procedure division mixes the statements the analysis
follows (MOVE, COMPUTE, IF, EVALUATE, PERFORM VARYING, ADD, ACCEPT FROM DATE, reference
modification and subscripts)."""

import argparse
import os


def copybook(index):
    p = f"C{index:03d}"
    return [
        f"       01  :P:-{p}-REC.",
        f"           05  :P:-{p}-KEY        PIC X(8).",
        f"           05  :P:-{p}-DATE.",
        f"               10  :P:-{p}-YY     PIC 99.",
        f"               10  :P:-{p}-MM     PIC 99.",
        f"               10  :P:-{p}-DD     PIC 99.",
        f"           05  :P:-{p}-AMT        PIC S9(7)V99 COMP-3.",
        f"           05  :P:-{p}-CNT        PIC S9(4) COMP.",
        f"           05  :P:-{p}-TBL OCCURS 12.",
        f"               10  :P:-{p}-TYY    PIC 99.",
        f"               10  :P:-{p}-TAMT   PIC S9(5) COMP-3.",
        f"           05  :P:-{p}-FILL       PIC X(20).",
    ]


def paragraph(n, copybooks):
    a = f"WS-C{n % copybooks:03d}"
    b = f"XX-C{(n * 7) % copybooks:03d}"
    return [
        f"       PARA-{n:05d}.",
        f"           MOVE {a}-YY TO {b}-YY",
        f"           COMPUTE WS-AGE = {a}-YY - {b}-YY + 1",
        f"           IF {a}-YY > {b}-YY OR = 50",
        f"              MOVE {a}-DATE(1:2) TO WS-TEMP",
        "           ELSE",
        f"              ADD 1 TO {b}-CNT",
        "           END-IF",
        f"           EVALUATE {a}-MM",
        "             WHEN 1 THRU 6 MOVE 'H1' TO WS-HALF",
        "             WHEN OTHER MOVE 'H2' TO WS-HALF",
        "           END-EVALUATE",
        "           PERFORM VARYING WS-I FROM 1 BY 1 UNTIL WS-I > 12",
        f"              MOVE {a}-TYY(WS-I) TO {b}-TYY(WS-I)",
        "           END-PERFORM",
        "           ACCEPT WS-TODAY FROM DATE",
        "           CONTINUE.",
    ]


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--lines", type=int, default=50000)
    parser.add_argument("--out", required=True)
    parser.add_argument("--copybooks", type=int, default=20)
    parser.add_argument("--name", default="BIGPROG")
    args = parser.parse_args()
    os.makedirs(args.out, exist_ok=True)
    for i in range(args.copybooks):
        with open(os.path.join(args.out, f"C{i:03d}.cpy"), "w") as f:
            f.write("\n".join(copybook(i)) + "\n")
    lines = [
        "       IDENTIFICATION DIVISION.",
        f"       PROGRAM-ID. {args.name}.",
        "       DATA DIVISION.",
        "       WORKING-STORAGE SECTION.",
        "       01  WS-AGE         PIC S9(4).",
        "       01  WS-TEMP        PIC XX.",
        "       01  WS-HALF        PIC XX.",
        "       01  WS-I           PIC 99.",
        "       01  WS-TODAY       PIC 9(6).",
    ]
    for i in range(args.copybooks):
        lines.append(f"       COPY C{i:03d} REPLACING ==:P:== BY ==WS==.")
        lines.append(f"       COPY C{i:03d} REPLACING ==:P:== BY ==XX==.")
    lines.append("       PROCEDURE DIVISION.")
    lines.append("       MAIN-START.")
    n = 0
    while len(lines) < args.lines - 2:
        lines.extend(paragraph(n, args.copybooks))
        n += 1
    lines.append("       MAIN-END.")
    lines.append("           STOP RUN.")
    with open(os.path.join(args.out, args.name + ".cbl"), "w") as f:
        f.write("\n".join(lines) + "\n")
    print(f"{len(lines)} lines, {n} paragraphs, {args.copybooks} copybooks in {args.out}")


if __name__ == "__main__":
    main()
