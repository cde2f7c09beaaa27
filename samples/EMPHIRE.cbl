       IDENTIFICATION DIVISION.
       PROGRAM-ID. EMPHIRE.
      *================================================================
      * EMPHIRE   RECORD A NEW HIRE.
      *           STAMPS THE START DATE WITH TODAY'S DATE AND THE
      *           FIRST REVIEW WITH TODAY'S JULIAN DATE, AND OPENS THE
      *           GRADE HISTORY.
      *================================================================
       ENVIRONMENT DIVISION.
       DATA DIVISION.
       WORKING-STORAGE SECTION.
       COPY DATEWS.
       01  EMP-RECORD.
           COPY EMPREC.
       01  WS-PROBATION.
           05  WS-PROB-END             PIC 9(6).
           05  WS-PROB-END-R REDEFINES WS-PROB-END.
               10  WS-PROB-END-YY      PIC 99.
               10  WS-PROB-END-MM      PIC 99.
               10  WS-PROB-END-DD      PIC 99.
       PROCEDURE DIVISION.
       MAIN-PARA.
           ACCEPT WS-TODAY FROM DATE
           ACCEPT WS-JULIAN FROM DAY
           INITIALIZE EMP-RECORD
           MOVE 104711 TO EMP-ID
           MOVE 'ADA LOVELACE' TO EMP-NAME
           MOVE '581210' TO EMP-BIRTH-DATE
           MOVE 'ACCT' TO EMP-DEPT
           MOVE 3 TO EMP-GRADE
           MOVE 2 TO EMP-DEPENDENTS
           MOVE 41500 TO EMP-SALARY
      *    THE HIRE IS DATED TODAY, THE FIRST REVIEW TOO
           MOVE WS-TODAY TO EMP-START
           MOVE WS-JULIAN TO EMP-REVIEWED
           MOVE EMP-GRADE TO EMP-HIST-GRADE (1)
           MOVE EMP-START TO EMP-HIST-FROM (1)
      *    PROBATION ENDS SIX MONTHS LATER
           MOVE EMP-START TO WS-PROB-END
           ADD 6 TO WS-PROB-END-MM
           IF WS-PROB-END-MM > 12
               SUBTRACT 12 FROM WS-PROB-END-MM
               ADD 1 TO WS-PROB-END-YY
           END-IF
           DISPLAY 'EMPHIRE  HIRED ' EMP-ID ' ' EMP-NAME
           DISPLAY 'EMPHIRE  START ' EMP-START ' REVIEWED ' EMP-REVIEWED
                   ' PROBATION UNTIL ' WS-PROB-END
           GOBACK.
