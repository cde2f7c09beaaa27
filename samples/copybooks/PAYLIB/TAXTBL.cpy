      *================================================================
      * TAXTBL    INCOME TAX BRACKETS OF THE TAX YEAR (30 BYTES)
      *           COPY TAXTBL OF PAYLIB.  LIMITS IN WHOLE DOLLARS.
      *================================================================
       01  TAX-TABLE.
           05  TAX-YEAR                PIC 99 VALUE 98.
           05  TAX-BRACKET-COUNT       PIC 9 VALUE 3.
           05  TAX-BRACKET-VALUES.
               10  FILLER              PIC X(9) VALUE '010000150'.
               10  FILLER              PIC X(9) VALUE '030000250'.
               10  FILLER              PIC X(9) VALUE '999999400'.
           05  TAX-BRACKETS REDEFINES TAX-BRACKET-VALUES.
               10  TAX-BRACKET         OCCURS 3 TIMES.
                   15  TAX-LIMIT       PIC 9(6).
                   15  TAX-RATE        PIC V999.
