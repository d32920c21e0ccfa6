//Maya ASCII 2017 scene
//Name: birdShot.ma
//A shot that references the feather rig birdRig.ma (namespace "bird"), which references the
//bird's back (bird:body). Reference edits lift the back and shrink the feathers; an animation
//curve of the shot moves the rig's system along x, through the reference's placeholder.
file -rdi 1 -ns "bird" -rfn "birdRN" -op "v=0;" -typ "mayaAscii" "birdRig.ma";
file -rdi 2 -ns "body" -rfn "bird:bodyRN" -op "v=0;" -typ "mayaAscii" "birdBody.ma";
file -r -ns "bird" -dr 1 -rfn "birdRN" -op "v=0;" -typ "mayaAscii" "birdRig.ma";
requires maya "2017";
currentUnit -l centimeter -a degree -t film;
createNode transform -s -n "persp";
	setAttr ".t" -type "double3" 0 11 10 ;
	setAttr ".r" -type "double3" -45 0 0 ;
createNode camera -s -n "perspShape" -p "persp";
	setAttr -k off ".v" no;
	setAttr ".fl" 35;
createNode animCurveTL -n "system_translateX";
	setAttr ".tan" 18;
	setAttr -s 2 ".ktv[0:1]"  1 0 24 2;
createNode reference -n "birdRN";
	setAttr ".phl[1]" 0;
	setAttr ".ed" -type "dataReferenceEdits" 
		"birdRN"
		"birdRN" 2
		2 "|bird:system|bird:systemShape" "gloalScale" " 0.3"
		5 4 "birdRN" "|bird:system.translateX" "birdRN.placeHolderList[1]" 
		""
		"bird:bodyRN" 1
		2 "|bird:body:back" "translate" " -type \"double3\" 0 1 0";
lockNode -l 1 ;
connectAttr "system_translateX.o" "birdRN.phl[1]";
// End of birdShot.ma
