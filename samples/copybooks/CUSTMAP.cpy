      *================================================================
      * CUSTMAP   SYMBOLIC MAP OF MAP CUSTMAP IN MAPSET CUSTSET, AS THE
      *           BMS ASSEMBLY WRITES IT: FOR EACH FIELD ITS LENGTH (L),
      *           FLAG OR ATTRIBUTE (F, A) AND DATA (I IN, O OUT).
      *           FOLLOW IS THE FOLLOW-UP DATE THE CLERK TYPES (YYMMDD).
      *================================================================
       01  CUSTMAPI.
           02  FILLER                  PIC X(12).
           02  CUSTIDL                 PIC S9(4) COMP.
           02  CUSTIDF                 PIC X.
           02  FILLER REDEFINES CUSTIDF.
               03  CUSTIDA             PIC X.
           02  CUSTIDI                 PIC X(6).
           02  NAMEL                   PIC S9(4) COMP.
           02  NAMEF                   PIC X.
           02  FILLER REDEFINES NAMEF.
               03  NAMEA               PIC X.
           02  NAMEI                   PIC X(20).
           02  LASTL                   PIC S9(4) COMP.
           02  LASTF                   PIC X.
           02  FILLER REDEFINES LASTF.
               03  LASTA               PIC X.
           02  LASTI                   PIC X(6).
           02  FOLLOWL                 PIC S9(4) COMP.
           02  FOLLOWF                 PIC X.
           02  FILLER REDEFINES FOLLOWF.
               03  FOLLOWA             PIC X.
           02  FOLLOWI                 PIC X(6).
           02  MSGL                    PIC S9(4) COMP.
           02  MSGF                    PIC X.
           02  FILLER REDEFINES MSGF.
               03  MSGA                PIC X.
           02  MSGI                    PIC X(40).
       01  CUSTMAPO REDEFINES CUSTMAPI.
           02  FILLER                  PIC X(12).
           02  FILLER                  PIC X(3).
           02  CUSTIDO                 PIC X(6).
           02  FILLER                  PIC X(3).
           02  NAMEO                   PIC X(20).
           02  FILLER                  PIC X(3).
           02  LASTO                   PIC X(6).
           02  FILLER                  PIC X(3).
           02  FOLLOWO                 PIC X(6).
           02  FILLER                  PIC X(3).
           02  MSGO                    PIC X(40).
