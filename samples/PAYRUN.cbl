       IDENTIFICATION DIVISION.
       PROGRAM-ID. PAYRUN.
      *================================================================
      * PAYRUN    MONTHLY PAYROLL.  READS EMPFILE, WRITES ONE PAY
      *           SLIP LINE PER EMPLOYEE TO PAYSLIPS.  TAX BRACKETS
      *           COME FROM THE PAYROLL LIBRARY.
      *================================================================
       ENVIRONMENT DIVISION.
       INPUT-OUTPUT SECTION.
       FILE-CONTROL.
           SELECT EMP-FILE ASSIGN TO EMPFILE
               ORGANIZATION IS SEQUENTIAL
               FILE STATUS IS WS-EMP-STATUS.
           SELECT SLIP-FILE ASSIGN TO PAYSLIPS
               ORGANIZATION IS SEQUENTIAL
               FILE STATUS IS WS-SLIP-STATUS.
       DATA DIVISION.
       FILE SECTION.
       FD  EMP-FILE.
       01  EMP-FILE-REC.
           COPY EMPREC.
       FD  SLIP-FILE.
       01  SLIP-REC                    PIC X(80).
       WORKING-STORAGE SECTION.
       COPY DATEWS.
       COPY TAXTBL OF PAYLIB.
       01  WS-EMP-STATUS               PIC XX.
           88  WS-EMP-EOF              VALUE '10'.
       01  WS-SLIP-STATUS              PIC XX.
      *    REVIEWS MUST HAVE TAKEN PLACE BY THIS JULIAN DATE
       01  WS-REVIEW-DUE               PIC 9(5) VALUE 99001.
       01  WS-SERVICE                  PIC 99.
       01  WS-IX                       PIC 9.
       01  WS-ANNUAL                   PIC 9(7)V99.
       01  WS-TAX                      PIC 9(7)V99.
       01  WS-COUNT                    PIC 9(5) VALUE ZERO.
       01  WS-SLIP.
           05  SLIP-ID                 PIC 9(6).
           05  FILLER                  PIC X VALUE SPACE.
           05  SLIP-NAME               PIC X(20).
           05  FILLER                  PIC X VALUE SPACE.
           05  SLIP-RUN-DATE           PIC 9(6).
           05  FILLER                  PIC X VALUE SPACE.
           05  SLIP-SERVICE            PIC Z9.
           05  FILLER                  PIC X VALUE SPACE.
           05  SLIP-TAX                PIC Z(6)9.99.
           05  FILLER                  PIC X VALUE SPACE.
           05  SLIP-REVIEW-FLAG        PIC X(7).
           05  FILLER                  PIC X(24) VALUE SPACES.
       PROCEDURE DIVISION.
       MAIN-PARA.
           ACCEPT WS-TODAY FROM DATE
           IF TAX-YEAR < WS-CUR-YY
               DISPLAY 'PAYRUN   TAX TABLE ' TAX-YEAR ' IS OUT OF DATE'
           END-IF
           OPEN INPUT EMP-FILE
           IF WS-EMP-STATUS NOT = '00'
               DISPLAY 'PAYRUN   CANNOT OPEN EMPFILE, STATUS '
                       WS-EMP-STATUS
               MOVE 12 TO RETURN-CODE
               GOBACK
           END-IF
           OPEN OUTPUT SLIP-FILE
           PERFORM READ-EMPLOYEE
           PERFORM PAY-EMPLOYEE UNTIL WS-EMP-EOF
           CLOSE EMP-FILE SLIP-FILE
           DISPLAY 'PAYRUN   ' WS-COUNT ' PAY SLIPS WRITTEN'
           GOBACK.
       READ-EMPLOYEE.
           READ EMP-FILE
               AT END SET WS-EMP-EOF TO TRUE
           END-READ.
       PAY-EMPLOYEE.
           COMPUTE WS-SERVICE = WS-CUR-YY - EMP-START-YY
           COMPUTE WS-ANNUAL = EMP-SALARY * 12
           MOVE ZERO TO WS-TAX
           PERFORM VARYING WS-IX FROM 1 BY 1
                   UNTIL WS-IX > TAX-BRACKET-COUNT
                      OR WS-ANNUAL NOT > TAX-LIMIT (WS-IX)
               CONTINUE
           END-PERFORM
           IF WS-IX > TAX-BRACKET-COUNT
               MOVE TAX-BRACKET-COUNT TO WS-IX
           END-IF
           COMPUTE WS-TAX ROUNDED = EMP-SALARY * TAX-RATE (WS-IX)
           MOVE EMP-ID TO SLIP-ID
           MOVE EMP-NAME TO SLIP-NAME
           MOVE WS-TODAY TO SLIP-RUN-DATE
           MOVE WS-SERVICE TO SLIP-SERVICE
           MOVE WS-TAX TO SLIP-TAX
           IF EMP-REVIEWED < WS-REVIEW-DUE
               MOVE 'REVIEW' TO SLIP-REVIEW-FLAG
           ELSE
               MOVE SPACES TO SLIP-REVIEW-FLAG
           END-IF
           WRITE SLIP-REC FROM WS-SLIP
           ADD 1 TO WS-COUNT
           PERFORM READ-EMPLOYEE.
