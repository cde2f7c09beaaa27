      *================================================================
      * EMPREC    EMPLOYEE MASTER RECORD (84 BYTES)
      *           INCLUDED UNDER AN 01 LEVEL BY EVERY PROGRAM THAT
      *           HANDLES EMPLOYEES, AND AS THE RECORD OF EMPFILE.
      *           ALL DATES ARE KEPT AS THE 1987 SYSTEM STORED THEM.
      *================================================================
           05  EMP-ID                  PIC 9(6).
           05  EMP-NAME                PIC X(20).
           05  EMP-BIRTH-DATE.
               10  EMP-BIRTH-YY        PIC 99.
               10  EMP-BIRTH-MM        PIC 99.
               10  EMP-BIRTH-DD        PIC 99.
      *    DATE THE EMPLOYEE STARTED, YYMMDD
           05  EMP-START               PIC 9(6).
           05  EMP-START-R REDEFINES EMP-START.
               10  EMP-START-YY        PIC 99.
               10  EMP-START-MMDD      PIC 9(4).
           05  EMP-DEPT                PIC X(4).
      *    SALARY GRADE 01-15, NOT A YEAR
           05  EMP-GRADE               PIC 99.
           05  EMP-SALARY              PIC S9(7)V99 COMP-3.
      *    DATE OF THE LAST PERFORMANCE REVIEW, YYDDD
           05  EMP-REVIEWED            PIC 9(5).
           05  EMP-DEPENDENTS          PIC 99.
           05  EMP-HISTORY             OCCURS 3 TIMES.
               10  EMP-HIST-GRADE      PIC 99.
               10  EMP-HIST-FROM       PIC 9(6).
           05  FILLER                  PIC X(4).
