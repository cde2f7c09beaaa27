      *================================================================
      * DCLORDER  DCLGEN OF TABLE ORDERS: THE TABLE'S DECLARATION AND
      *           ITS HOST STRUCTURE. ORDER_DATE IS A DB2 DATE, SHIP_YMD
      *           AN OLD CHAR(6) COLUMN HOLDING YYMMDD.
      *================================================================
           EXEC SQL DECLARE ORDERS TABLE
           ( ORDER_NO                       CHAR(8) NOT NULL,
             CUST_NO                        CHAR(6) NOT NULL,
             ORDER_DATE                     DATE NOT NULL,
             SHIP_YMD                       CHAR(6) NOT NULL,
             AMOUNT                         DECIMAL(9, 2) NOT NULL
           ) END-EXEC.
       01  DCLORDERS.
           10 ORDER-NO             PIC X(8).
           10 CUST-NO              PIC X(6).
           10 ORDER-DATE           PIC X(10).
           10 SHIP-YMD             PIC X(6).
           10 AMOUNT               PIC S9(7)V9(2) USAGE COMP-3.
