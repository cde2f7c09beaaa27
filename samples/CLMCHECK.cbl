       IDENTIFICATION DIVISION.
       PROGRAM-ID. CLMCHECK.
      *================================================================
      * CLMCHECK  LIST THE CLAIMS OF A POLICY THAT WERE MADE BEFORE
      *           ITS LAST RENEWAL.  ONLY COMPARES DATES OF THE POLICY
      *           RECORD; NO DATE IS READ OR COMPUTED HERE.
      *================================================================
       ENVIRONMENT DIVISION.
       DATA DIVISION.
       WORKING-STORAGE SECTION.
       01  POL-RECORD.
           COPY POLREC.
       01  WS-IX                       PIC 9.
       01  WS-EARLY                    PIC 9 VALUE ZERO.
       PROCEDURE DIVISION.
       MAIN-PARA.
           PERFORM LOAD-POLICY
           PERFORM VARYING WS-IX FROM 1 BY 1
                   UNTIL WS-IX > POL-CLAIM-COUNT
               IF CLM-DATE (WS-IX) < POL-PRIOR-END
                   DISPLAY 'CLMCHECK CLAIM ' CLM-NUMBER (WS-IX)
                           ' OF ' CLM-DATE (WS-IX) ' PREDATES RENEWAL'
                   ADD 1 TO WS-EARLY
               END-IF
           END-PERFORM
           DISPLAY 'CLMCHECK ' WS-EARLY ' OF ' POL-CLAIM-COUNT
                   ' CLAIMS PREDATE ' POL-PRIOR-END
           GOBACK.
       LOAD-POLICY.
           INITIALIZE POL-RECORD
           MOVE 'HM00047110' TO POL-NUMBER
           MOVE 991115 TO POL-PRIOR-END
           MOVE 3 TO POL-CLAIM-COUNT
           MOVE 0001 TO CLM-NUMBER (1)
           MOVE 970302 TO CLM-DATE (1)
           MOVE 0002 TO CLM-NUMBER (2)
           MOVE 991224 TO CLM-DATE (2)
           MOVE 0003 TO CLM-NUMBER (3)
           MOVE 000117 TO CLM-DATE (3).
