      *================================================================
      * DATEWS    TODAY'S DATE AS THE SYSTEM CLOCK GIVES IT (17 BYTES)
      *           ACCEPT WS-TODAY FROM DATE   GIVES YYMMDD
      *           ACCEPT WS-JULIAN FROM DAY   GIVES YYDDD
      *================================================================
       01  WS-DATE-AREA.
           05  WS-TODAY                PIC 9(6).
           05  WS-TODAY-R REDEFINES WS-TODAY.
               10  WS-CUR-YY           PIC 99.
               10  WS-CUR-MM           PIC 99.
               10  WS-CUR-DD           PIC 99.
           05  WS-JULIAN               PIC 9(5).
           05  WS-JULIAN-R REDEFINES WS-JULIAN.
               10  WS-JUL-YY           PIC 99.
               10  WS-JUL-DDD          PIC 999.
           05  WS-CUR-CCYY             PIC 9(4).
           05  WS-CENTURY              PIC 99 VALUE 19.
