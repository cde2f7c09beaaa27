       *> DFHCOMMAREA: the one-byte commarea the CICS translator declares
       *> in the linkage section of a program that declares none itself.
       01  DFHCOMMAREA     PIC X(1).
