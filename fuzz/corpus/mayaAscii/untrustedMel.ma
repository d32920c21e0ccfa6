//Maya ASCII 2013 scene
requires maya "2013";
currentUnit -l centimeter -a degree -t film;
createNode transform -n "first";
	setAttr ".t" -type "double3" 1 2 3 ;
fuzzSentinel;
eval "fuzzSentinel";
eval "eval \"fuzzSentinel\"";
global proc sentinelInProc() { fuzzSentinel; }
sentinelInProc;
proc localSentinel() { if (1) { fuzzSentinel; } else { fuzzSentinel; } }
if (1) { fuzzSentinel; }
for ($i = 0; $i < 2; $i++) { fuzzSentinel; }
while (0) { fuzzSentinel; }
do { fuzzSentinel; } while (0);
switch (1) { case 1: fuzzSentinel; break; }
evalDeferred "fuzzSentinel";
python("fuzzSentinel");
source "fuzzSentinel.mel";
quilloExportFeathers -format rib -file "fuzzWritten.rib";
file -r -ns "ref" "referenced.ma";
file -o "untrustedMel.ma";
file -i "untrustedMel.ma";
eval "file -f -o \"untrustedMel.ma\"";
source "./untrustedMel.ma";
workspace -fr "images" "images";
select -ne "first";
	setAttr ".s" -type "double3" 2 2 2 ;
createNode transform -n "last";
// End of untrustedMel.ma
