<PROGRAM-INFO>
<FILE> <WORK>/cobol/year end/YREND.cbl </FILE>
</PROGRAM-INFO>
