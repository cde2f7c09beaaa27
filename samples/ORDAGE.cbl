       IDENTIFICATION DIVISION.
       PROGRAM-ID. ORDAGE.
      *================================================================
      * ORDAGE    ORDER AGEING (BATCH, DB2). COUNTS THE ORDERS SHIPPED
      *           BEFORE TODAY'S CUT-OFF AND STAMPS THEM AS SEEN TODAY.
      *           SHIP_YMD IS A CHAR(6) YYMMDD COLUMN, ORDER_DATE A DB2
      *           DATE ('YYYY-MM-DD').
      *================================================================
       ENVIRONMENT DIVISION.
       DATA DIVISION.
       WORKING-STORAGE SECTION.
           EXEC SQL INCLUDE SQLCA END-EXEC.
           EXEC SQL INCLUDE DCLORDER END-EXEC.
       01  WS-TODAY                    PIC 9(6).
       01  WS-TODAY-X REDEFINES WS-TODAY
                                       PIC X(6).
       01  WS-TODAY-ISO                PIC X(10).
       01  WS-CUTOFF                   PIC 9(6).
       01  WS-SHIP-DATE                PIC 9(6).
       01  WS-ORDER-YEAR               PIC 9(4).
       01  WS-AGED                     PIC 9(5) VALUE ZERO.
           EXEC SQL DECLARE C-SHIPPED CURSOR FOR
                SELECT ORDER_NO, ORDER_DATE, SHIP_YMD
                  FROM ORDERS
                 WHERE SHIP_YMD <> '000000'    -- NOT SHIPPED YET
                 ORDER BY ORDER_NO
           END-EXEC.
       PROCEDURE DIVISION.
       MAIN-PARA.
           ACCEPT WS-TODAY FROM DATE
           MOVE WS-TODAY TO WS-CUTOFF
           EXEC SQL SELECT CURRENT DATE
                      INTO :WS-TODAY-ISO
                      FROM SYSIBM.SYSDUMMY1
           END-EXEC
           EXEC SQL OPEN C-SHIPPED END-EXEC
           PERFORM UNTIL SQLCODE NOT = 0
               EXEC SQL FETCH C-SHIPPED
                         INTO :ORDER-NO, :ORDER-DATE, :SHIP-YMD
               END-EXEC
               IF SQLCODE = 0
                   PERFORM AGE-ONE-ORDER
               END-IF
           END-PERFORM
           EXEC SQL CLOSE C-SHIPPED END-EXEC
           DISPLAY 'ORDAGE ' WS-TODAY-ISO ' AGED ' WS-AGED
           STOP RUN.

       AGE-ONE-ORDER.
           MOVE ORDER-DATE (1:4) TO WS-ORDER-YEAR
           MOVE SHIP-YMD TO WS-SHIP-DATE
      *    991231 IS NOT BEFORE 000101 WITHOUT A WINDOW
           IF WS-SHIP-DATE < WS-CUTOFF
               ADD 1 TO WS-AGED
               EXEC SQL UPDATE ORDERS
                           SET SHIP_YMD = :WS-TODAY-X
                         WHERE ORDER_NO = :ORDER-NO
               END-EXEC
           END-IF.
