       IDENTIFICATION DIVISION.
       PROGRAM-ID. LOANCALC.
      *================================================================
      * LOANCALC  OPEN A LOAN AND BUILD ITS PAYMENT SCHEDULE.
      *           THE LOAN IS OPENED ON TODAY'S JULIAN DATE; THE DUE
      *           DATES RUN MONTHLY FROM NEXT MONTH.  THE MATURITY
      *           YEAR IS BUILT WITH A FIXED CENTURY OF 1900.
      *================================================================
       ENVIRONMENT DIVISION.
       DATA DIVISION.
       WORKING-STORAGE SECTION.
       COPY DATEWS.
       01  LOAN-RECORD.
           COPY LOANREC.
       01  WS-NEXT-DUE.
           05  WS-NEXT-YY              PIC 99.
           05  WS-NEXT-MM              PIC 99.
           05  WS-NEXT-DD              PIC 99.
       01  WS-IX                       PIC 99.
       01  WS-OVERDUE                  PIC 99 VALUE ZERO.
       PROCEDURE DIVISION.
       MAIN-PARA.
           ACCEPT WS-TODAY FROM DATE
           ACCEPT WS-JULIAN FROM DAY
           INITIALIZE LOAN-RECORD
           MOVE 20001234 TO LN-NUMBER
           MOVE 104711 TO LN-BORROWER-ID
           MOVE 12000.00 TO LN-PRINCIPAL
           MOVE 0.0725 TO LN-RATE
           MOVE 12 TO LN-TERM-MONTHS
           MOVE WS-JULIAN TO LN-OPENED
           COMPUTE LN-MATURITY-CCYY =
                   1900 + LN-OPENED-YY + LN-TERM-MONTHS / 12
           MOVE WS-TODAY TO WS-NEXT-DUE
           MOVE 1 TO WS-NEXT-DD
           PERFORM VARYING WS-IX FROM 1 BY 1 UNTIL WS-IX > 12
               ADD 1 TO WS-NEXT-MM
               IF WS-NEXT-MM > 12
                   MOVE 1 TO WS-NEXT-MM
                   ADD 1 TO WS-NEXT-YY
               END-IF
               MOVE WS-NEXT-DUE TO LN-DUE (WS-IX)
               COMPUTE LN-DUE-AMOUNT (WS-IX) ROUNDED =
                   LN-PRINCIPAL * (1 + LN-RATE) / LN-TERM-MONTHS
               MOVE 'N' TO LN-PAID-FLAG (WS-IX)
           END-PERFORM
           MOVE 3 TO LN-PAYMENTS-MADE
           PERFORM VARYING WS-IX FROM 1 BY 1
                   UNTIL WS-IX > LN-PAYMENTS-MADE
               MOVE 'Y' TO LN-PAID-FLAG (WS-IX)
           END-PERFORM
      *    A SCHEDULE WHOSE LAST DUE DATE SORTS BEFORE ITS FIRST HAS
      *    CROSSED A CENTURY: THE OLD SYSTEM REJECTED SUCH LOANS
           IF LN-DUE (12) < LN-DUE (1)
               DISPLAY 'LOANCALC SCHEDULE OUT OF ORDER'
           END-IF
           PERFORM VARYING WS-IX FROM 1 BY 1 UNTIL WS-IX > 12
               IF NOT LN-PAID (WS-IX) AND LN-DUE (WS-IX) < WS-TODAY
                   ADD 1 TO WS-OVERDUE
               END-IF
           END-PERFORM
           DISPLAY 'LOANCALC LOAN ' LN-NUMBER ' OPENED ' LN-OPENED
                   ' MATURES ' LN-MATURITY-CCYY
           DISPLAY 'LOANCALC FIRST DUE ' LN-DUE (1) ' LAST DUE '
                   LN-DUE (12) ' OVERDUE ' WS-OVERDUE
           GOBACK.
