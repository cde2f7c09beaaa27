      * a test program
       IDENTIFICATION DIVISION.
       PROGRAM-ID. PROG1.
       DATA DIVISION.
       WORKING-STORAGE SECTION.
       COPY DATES REPLACING ==:P:== BY ==WS==.
       COPY DATES REPLACING ==:P:== BY ==XX==.
       01  WS-TODAY            PIC 9(6).
       01  WS-AGE              PIC 99.
       01  TBL.
           05 TBL-ENT OCCURS 10.
              10 TBL-YY PIC 99.
       01  I                   PIC 99.
       PROCEDURE DIVISION.
       MAIN-PARA.
           ACCEPT WS-TODAY FROM DATE
           MOVE WS-TODAY(1:2) TO WS-YY
           COMPUTE WS-AGE = WS-YY - XX-YY
           IF WS-YY > XX-YY OR = 5
              MOVE TBL-YY(I) TO WS-YY
           END-IF
           EVALUATE WS-YY
             WHEN 1 THRU 5 DISPLAY "X"
             WHEN OTHER CONTINUE
           END-EVALUATE
           PERFORM VARYING I FROM 1 BY 1 UNTIL I > 10
              ADD 1 TO TBL-YY(I)
           END-PERFORM
           STOP RUN.
