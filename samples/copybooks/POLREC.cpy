      *================================================================
      * POLREC    INSURANCE POLICY RECORD (113 BYTES)
      *           POLICY AND CLAIM DATES ARE YYMMDD.  A POLICY CARRIES
      *           UP TO FIVE CLAIMS.
      *================================================================
           05  POL-NUMBER              PIC X(10).
           05  POL-HOLDER-ID           PIC 9(6).
           05  POL-TYPE                PIC X.
               88  POL-TYPE-LIFE       VALUE 'L'.
               88  POL-TYPE-HOME       VALUE 'H'.
           05  POL-START               PIC 9(6).
      *    LENGTH OF THE POLICY IN YEARS, NOT A YEAR
           05  POL-TERM                PIC 99.
           05  POL-END                 PIC 9(6).
      *    END OF THE PERIOD BEFORE THE LAST RENEWAL
           05  POL-PRIOR-END           PIC 9(6).
           05  POL-PREMIUM             PIC S9(5)V99 COMP-3.
           05  POL-STATUS              PIC X.
               88  POL-ACTIVE          VALUE 'A'.
               88  POL-LAPSED          VALUE 'L'.
           05  POL-CLAIM-COUNT         PIC 9.
           05  POL-CLAIM               OCCURS 5 TIMES.
               10  CLM-NUMBER          PIC 9(4).
               10  CLM-DATE            PIC 9(6).
               10  CLM-AMOUNT          PIC 9(5)V99 COMP-3.
