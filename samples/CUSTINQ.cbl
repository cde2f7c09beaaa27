       IDENTIFICATION DIVISION.
       PROGRAM-ID. CUSTINQ.
      *================================================================
      * CUSTINQ   ONLINE CUSTOMER INQUIRY (CICS, TRANSACTION CINQ).
      *           SHOWS A CUSTOMER AND RECORDS THE FOLLOW-UP DATE THE
      *           CLERK TYPES, UNLESS IT LIES BEFORE TODAY. PSEUDO-
      *           CONVERSATIONAL: THE COMMAREA REMEMBERS THE LAST
      *           CUSTOMER AND THE DAY IT WAS SEEN.
      *================================================================
       ENVIRONMENT DIVISION.
       DATA DIVISION.
       WORKING-STORAGE SECTION.
       COPY DFHAID.
       COPY DFHBMSCA.
       COPY CUSTMAP.
       COPY CUSTREC.
       01  WS-ABSTIME                  PIC S9(15) COMP-3.
       01  WS-TODAY                    PIC 9(6).
       01  WS-CENTURY-DATE             PIC S9(7) COMP-3.
       01  WS-RESP                     PIC S9(8) COMP.
       01  WS-FOLLOW-UP                PIC 9(6).
       01  WS-COMMAREA.
           05  WS-LAST-CUST            PIC X(6).
           05  WS-LAST-SEEN            PIC 9(6).
       LINKAGE SECTION.
       01  DFHCOMMAREA                 PIC X(12).
       PROCEDURE DIVISION.
       MAIN-PARA.
           IF EIBCALEN = 0
               MOVE LOW-VALUES TO CUSTMAPO
               EXEC CICS SEND MAP('CUSTMAP') MAPSET('CUSTSET')
                         ERASE
               END-EXEC
               EXEC CICS RETURN TRANSID(EIBTRNID)
                         COMMAREA(WS-COMMAREA) LENGTH(12)
               END-EXEC
           END-IF
           MOVE DFHCOMMAREA TO WS-COMMAREA
           IF EIBAID = DFHPF3 OR EIBAID = DFHCLEAR
               EXEC CICS RETURN END-EXEC
           END-IF
           EXEC CICS RECEIVE MAP('CUSTMAP') MAPSET('CUSTSET')
                     RESP(WS-RESP)
           END-EXEC
      *    TODAY AS YYMMDD, AND THE TASK'S OWN DATE (0CYYDDD)
           EXEC CICS ASKTIME ABSTIME(WS-ABSTIME) END-EXEC
           EXEC CICS FORMATTIME ABSTIME(WS-ABSTIME)
                     YYMMDD(WS-TODAY)
           END-EXEC
           MOVE EIBDATE TO WS-CENTURY-DATE
           EXEC CICS READ FILE('CUSTFILE') INTO(CUST-REC)
                     RIDFLD(CUSTIDI) UPDATE
                     RESP(WS-RESP)
           END-EXEC
           IF WS-RESP NOT = DFHRESP(NORMAL)
               MOVE 'CUSTOMER NOT FOUND' TO MSGO
               MOVE DFHBMBRY TO MSGA
           ELSE
               PERFORM CHECK-FOLLOW-UP
           END-IF
           MOVE CUSTIDI TO WS-LAST-CUST
           MOVE WS-TODAY TO WS-LAST-SEEN
           EXEC CICS SEND MAP('CUSTMAP') MAPSET('CUSTSET')
                     DATAONLY
           END-EXEC
           EXEC CICS RETURN TRANSID(EIBTRNID)
                     COMMAREA(WS-COMMAREA) LENGTH(12)
           END-EXEC.

       CHECK-FOLLOW-UP.
           MOVE CUST-NAME TO NAMEO
           MOVE CUST-LAST-ORDER TO LASTO
           IF CUST-LAST-ORDER > WS-TODAY
               MOVE 'LAST ORDER DATE LIES IN THE FUTURE' TO MSGO
           END-IF
           MOVE FOLLOWI TO WS-FOLLOW-UP
      *    A FOLLOW-UP IN 2000 (000115) SORTS BEFORE TODAY IN 1999
           IF WS-FOLLOW-UP < WS-TODAY
               MOVE 'FOLLOW-UP DATE IS IN THE PAST' TO MSGO
               MOVE DFHBMBRY TO MSGA
           ELSE
               MOVE WS-FOLLOW-UP TO CUST-FOLLOW-UP
               EXEC CICS REWRITE FILE('CUSTFILE') FROM(CUST-REC)
               END-EXEC
               MOVE 'FOLLOW-UP DATE RECORDED' TO MSGO
           END-IF.
