      *================================================================
      * CUSTREC   CUSTOMER RECORD OF THE CICS FILE CUSTFILE (80 BYTES)
      *           CUST-SINCE      YYDDD   CUSTOMER SINCE
      *           CUST-LAST-ORDER YYMMDD  LAST ORDER
      *           CUST-FOLLOW-UP  YYMMDD  NEXT CALL THE CLERK PLANNED
      *================================================================
       01  CUST-REC.
           05  CUST-ID                 PIC X(6).
           05  CUST-NAME               PIC X(20).
           05  CUST-SINCE              PIC 9(5).
           05  CUST-LAST-ORDER         PIC 9(6).
           05  CUST-FOLLOW-UP          PIC 9(6).
           05  CUST-CREDIT-LIMIT       PIC S9(7)V99 COMP-3.
           05  FILLER                  PIC X(32).
