       IDENTIFICATION DIVISION.
       PROGRAM-ID. EMPAGE.
      *================================================================
      * EMPAGE    AGE AND LENGTH OF SERVICE OF AN EMPLOYEE.
      *           AGE = CURRENT YEAR - BIRTH YEAR, ON TWO-DIGIT YEARS.
      *           AFTER 1999 THE SUBTRACTION GOES NEGATIVE AND THE
      *           UNSIGNED RESULT KEEPS ONLY ITS DIGITS.
      *================================================================
       ENVIRONMENT DIVISION.
       DATA DIVISION.
       WORKING-STORAGE SECTION.
       COPY DATEWS.
       01  EMP-RECORD.
           COPY EMPREC.
       01  WS-AGE                      PIC 999.
       01  WS-SERVICE                  PIC 99.
       01  WS-RETIRE-AGE               PIC 99 VALUE 65.
       01  WS-IX                       PIC 9.
       01  WS-SENIOR                   PIC 9 VALUE ZERO.
       PROCEDURE DIVISION.
       MAIN-PARA.
           ACCEPT WS-TODAY FROM DATE
           INITIALIZE EMP-RECORD
           MOVE 104711 TO EMP-ID
           MOVE '581210' TO EMP-BIRTH-DATE
           MOVE 870401 TO EMP-START
           MOVE 870401 TO EMP-HIST-FROM (1)
           MOVE 930101 TO EMP-HIST-FROM (2)
           COMPUTE WS-AGE = WS-CUR-YY - EMP-BIRTH-YY
           COMPUTE WS-SERVICE = WS-CUR-YY - EMP-START-YY
           IF WS-AGE NOT < WS-RETIRE-AGE
               DISPLAY 'EMPAGE   ' EMP-ID ' IS DUE FOR RETIREMENT'
           END-IF
      *    A START BEFORE BIRTH MEANS A BAD RECORD; AFTER 1999 IT
      *    FLAGS EVERY EMPLOYEE BORN IN THE 1900S AND HIRED NOW
           IF EMP-START-YY < EMP-BIRTH-YY
               DISPLAY 'EMPAGE   ' EMP-ID ' STARTED BEFORE BIRTH'
           END-IF
           PERFORM VARYING WS-IX FROM 1 BY 1 UNTIL WS-IX > 3
               IF EMP-HIST-FROM (WS-IX) NOT = ZERO
                  AND EMP-HIST-FROM (WS-IX) < EMP-START
                   DISPLAY 'EMPAGE   GRADE HISTORY BEFORE START'
               END-IF
               IF EMP-HIST-FROM (WS-IX) > EMP-START
                   ADD 1 TO WS-SENIOR
               END-IF
           END-PERFORM
           DISPLAY 'EMPAGE   AGE ' WS-AGE ' SERVICE ' WS-SERVICE
                   ' PROMOTIONS ' WS-SENIOR
           GOBACK.
