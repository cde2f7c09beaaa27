      *================================================================
      * LOANREC   LOAN ACCOUNT WITH ITS TWELVE-MONTH PAYMENT SCHEDULE
      *           (231 BYTES).  OPENING DATE IS JULIAN YYDDD, DUE
      *           DATES ARE YYMMDD, THE MATURITY YEAR HAS FOUR DIGITS.
      *================================================================
           05  LN-NUMBER               PIC 9(8).
           05  LN-BORROWER-ID          PIC 9(6).
           05  LN-OPENED               PIC 9(5).
           05  LN-OPENED-R REDEFINES LN-OPENED.
               10  LN-OPENED-YY        PIC 99.
               10  LN-OPENED-DDD       PIC 999.
           05  LN-PRINCIPAL            PIC S9(9)V99 COMP-3.
           05  LN-RATE                 PIC 9V9(4).
           05  LN-TERM-MONTHS          PIC 999.
           05  LN-MATURITY-CCYY        PIC 9(4).
           05  LN-PAYMENTS-MADE        PIC 99.
           05  LN-SCHEDULE             OCCURS 12 TIMES.
               10  LN-DUE              PIC 9(6).
               10  LN-DUE-AMOUNT       PIC 9(7)V99.
               10  LN-PAID-FLAG        PIC X.
                   88  LN-PAID         VALUE 'Y'.
