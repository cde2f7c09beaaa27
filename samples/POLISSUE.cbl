       IDENTIFICATION DIVISION.
       PROGRAM-ID. POLISSUE.
      *================================================================
      * POLISSUE  ISSUE A NEW POLICY.
      *           THE POLICY STARTS TODAY AND ENDS POL-TERM YEARS
      *           LATER, COMPUTED ON THE TWO-DIGIT YEAR.
      *================================================================
       ENVIRONMENT DIVISION.
       DATA DIVISION.
       WORKING-STORAGE SECTION.
       COPY DATEWS.
       01  POL-RECORD.
           COPY POLREC.
       01  WS-END-DATE.
           05  WS-END-YY               PIC 99.
           05  WS-END-MMDD             PIC 9(4).
       PROCEDURE DIVISION.
       MAIN-PARA.
           ACCEPT WS-TODAY FROM DATE
           INITIALIZE POL-RECORD
           MOVE 'LF00012345' TO POL-NUMBER
           MOVE 104711 TO POL-HOLDER-ID
           SET POL-TYPE-LIFE TO TRUE
           MOVE 10 TO POL-TERM
           MOVE 315.50 TO POL-PREMIUM
      *    THE POLICY IS DATED TODAY
           MOVE WS-TODAY TO POL-START
           MOVE POL-START TO WS-END-DATE
           ADD POL-TERM TO WS-END-YY
           MOVE WS-END-DATE TO POL-END
           MOVE ZERO TO POL-PRIOR-END
           MOVE ZERO TO POL-CLAIM-COUNT
           SET POL-ACTIVE TO TRUE
           DISPLAY 'POLISSUE ' POL-NUMBER ' FROM ' POL-START
                   ' TO ' POL-END
           GOBACK.
