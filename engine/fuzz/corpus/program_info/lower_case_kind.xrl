<PROGRAM-INFO>
<FILE> P.cbl </FILE>
<FILE> C </FILE>
</PROGRAM-INFO>
<INCLUDE> C Q
<RESULT>
<always-year>
<INDEX> 1 <LENGTH> 2
</always-year>
</RESULT>
