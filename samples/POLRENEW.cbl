       IDENTIFICATION DIVISION.
       PROGRAM-ID. POLRENEW.
      *================================================================
      * POLRENEW  RENEW THE POLICIES THAT END BEFORE THE CUT-OFF.
      *           THIS PROGRAM NEVER READS THE CLOCK: IT ONLY COMPARES
      *           AND MOVES THE POLICY DATES THAT POLISSUE SET UP.
      *================================================================
       ENVIRONMENT DIVISION.
       DATA DIVISION.
       WORKING-STORAGE SECTION.
       01  POL-RECORD.
           COPY POLREC.
       01  WS-CUTOFF                   PIC 9(6) VALUE 991231.
       01  WS-RENEWED                  PIC 999 VALUE ZERO.
       PROCEDURE DIVISION.
       MAIN-PARA.
           PERFORM LOAD-POLICY
           IF POL-ACTIVE AND POL-END NOT > WS-CUTOFF
               MOVE POL-END TO POL-PRIOR-END
               MOVE POL-END TO POL-START
               COMPUTE POL-END = POL-END + POL-TERM * 10000
               ADD 1 TO WS-RENEWED
           END-IF
      *    AN END BEFORE THE START IS TREATED AS DAMAGED DATA; A
      *    RENEWAL THAT CROSSES 1999 PRODUCES EXACTLY THAT
           IF POL-END < POL-START
               DISPLAY 'POLRENEW ' POL-NUMBER ' ENDS BEFORE IT STARTS'
               SET POL-LAPSED TO TRUE
           END-IF
           DISPLAY 'POLRENEW RENEWED ' WS-RENEWED ' NOW ' POL-START
                   ' TO ' POL-END ' PRIOR ' POL-PRIOR-END
           GOBACK.
       LOAD-POLICY.
           INITIALIZE POL-RECORD
           MOVE 'HM00047110' TO POL-NUMBER
           SET POL-TYPE-HOME TO TRUE
           SET POL-ACTIVE TO TRUE
           MOVE 941115 TO POL-START
           MOVE 5 TO POL-TERM
           MOVE 991115 TO POL-END.
