       IDENTIFICATION DIVISION.
       PROGRAM-ID. YREND.
      *================================================================
      * YREND     FISCAL YEAR-END ROLL-OVER.  STANDS ALONE: NO COPY
      *           BOOKS.  MOVES THE FISCAL YEAR ON BY ONE, DECIDES
      *           WHICH ARCHIVES EXPIRE AND PRINTS THE YEAR IN FULL
      *           WITH A HARD-CODED CENTURY.
      *================================================================
       ENVIRONMENT DIVISION.
       DATA DIVISION.
       WORKING-STORAGE SECTION.
       01  WS-RUN-DATE                 PIC 9(6).
       01  WS-RUN-R REDEFINES WS-RUN-DATE.
           05  WS-RUN-YY               PIC 99.
           05  WS-RUN-MMDD             PIC 9(4).
       01  WS-FISCAL.
           05  WS-THIS-FY              PIC 99.
           05  WS-NEXT-FY              PIC 99.
       01  WS-ARCHIVE-UNTIL            PIC 99.
           88  NEVER-EXPIRES           VALUE 99.
       01  WS-PERIODS                  PIC 99 VALUE 12.
       01  WS-PERIOD                   PIC 99 VALUE ZERO.
       01  WS-FULL-YEAR                PIC X(4).
       PROCEDURE DIVISION.
       MAIN-PARA.
           ACCEPT WS-RUN-DATE FROM DATE
           MOVE WS-RUN-YY TO WS-THIS-FY
           COMPUTE WS-NEXT-FY = WS-THIS-FY + 1
      *    99 + 1 GIVES 00 IN TWO DIGITS: THE CHECK BELOW FIRES
           IF WS-NEXT-FY < WS-THIS-FY
               DISPLAY 'YREND    FISCAL YEAR WENT BACKWARDS'
           END-IF
           PERFORM WS-PERIODS TIMES
               ADD 1 TO WS-PERIOD
           END-PERFORM
           MOVE 99 TO WS-ARCHIVE-UNTIL
           IF NEVER-EXPIRES
               DISPLAY 'YREND    ARCHIVES ARE KEPT FOR EVER'
           ELSE
               IF WS-ARCHIVE-UNTIL < WS-THIS-FY
                   DISPLAY 'YREND    ARCHIVES EXPIRE'
               END-IF
           END-IF
           STRING '19' WS-RUN-YY DELIMITED BY SIZE INTO WS-FULL-YEAR
           DISPLAY 'YREND    CLOSED ' WS-FULL-YEAR ' AFTER ' WS-PERIOD
                   ' PERIODS, NEXT FISCAL YEAR ' WS-NEXT-FY
           GOBACK.
