//Maya ASCII 2013 scene
//Name: birdRig.ma
//A feather rig: a guide surface feeding a quillo feather node and a feather system that grows
//on the back of birdBody.ma, which the rig references (namespace "body"). The back reaches the
//system through placeholders, as Maya writes connections to referenced nodes.
file -rdi 1 -ns "body" -rfn "bodyRN" -op "v=0;" -typ "mayaAscii" "birdBody.ma";
file -r -ns "body" -dr 1 -rfn "bodyRN" -op "v=0;" -typ "mayaAscii" "birdBody.ma";
requires maya "2013";
requires "quillo2013" "1.6.5";
currentUnit -l centimeter -a degree -t film;
createNode transform -n "guide";
createNode nurbsSurface -n "guideShape" -p "guide";
	setAttr -k off ".v";
	setAttr ".cc" -type "nurbsSurface" 
		3 1 0 0 no 
		6 0 0 0 1 1 1
		2 0 1
		
		8
		-0.5 0 0
		0.5 0 0
		-0.5 1.2 1.333
		0.5 1.2 1.333
		-0.5 1.6 2.667
		0.5 1.6 2.667
		-0.5 0.6 4
		0.5 0.6 4
		;
createNode transform -n "feather";
createNode quillo -n "featherShape" -p "feather";
	setAttr -k off ".v";
	setAttr ".racseg" 8;
	setAttr ".barn" 40;
createNode objectSet -n "backGrowthSet";
createNode transform -n "system";
createNode quilloSystem -n "systemShape" -p "system";
	setAttr -k off ".v";
	setAttr ".dispqua" 100;
	setAttr ".useg" 3;
	setAttr ".vseg" 3;
	setAttr ".gloalScale" 0.45;
createNode reference -n "bodyRN";
	setAttr -s 2 ".phl";
	setAttr ".phl[1]" 0;
	setAttr ".phl[2]" 0;
	setAttr ".ed" -type "dataReferenceEdits" 
		"bodyRN"
		"bodyRN" 2
		5 3 "bodyRN" "|body:back|body:backShape.instObjGroups" "bodyRN.placeHolderList[1]" 
		""
		5 3 "bodyRN" "|body:back|body:backShape.worldSpace" "bodyRN.placeHolderList[2]" 
		"";
lockNode -l 1 ;
connectAttr "bodyRN.phl[1]" "backGrowthSet.dsm" -na;
connectAttr "bodyRN.phl[2]" "systemShape.inputGrowSurface";
connectAttr "guideShape.worldSpace[0]" "featherShape.guidSurfaceInfo[0].guidSurface";
connectAttr "backGrowthSet.msg" "systemShape.growthSet";
connectAttr "featherShape.featherInfoID" "systemShape.inRenderFeather";
// End of birdRig.ma
