//Maya ASCII 2013 scene
//Name: featherGuides.ma
//Three guide surfaces (flat, arched, twisted) feeding one quillo feather node, and a feather
//system growing a hundred feathers over a curved growth surface behind them, blended from the
//nearest guides. quillo render draws them all; quillo export writes them.
requires maya "2013";
currentUnit -l centimeter -a degree -t film;
fileInfo "application" "maya";
createNode transform -s -n "persp";
	setAttr ".v" no;
	setAttr ".t" -type "double3" 0 11 10 ;
	setAttr ".r" -type "double3" -45 0 0 ;
createNode camera -s -n "perspShape" -p "persp";
	setAttr -k off ".v" no;
	setAttr ".fl" 35;
	setAttr ".coi" 10.2;
	setAttr ".imn" -type "string" "persp";
//A flat strip, 1 wide and 4 long, along +z.
createNode transform -n "flatGuide";
createNode nurbsSurface -n "flatGuideShape" -p "flatGuide";
	setAttr -k off ".v";
	setAttr ".cc" -type "nurbsSurface" 
		3 1 0 0 no 
		6 0 0 0 1 1 1
		2 0 1
		
		8
		-3.5 0 0
		-2.5 0 0
		-3.5 0 1.333
		-2.5 0 1.333
		-3.5 0 2.667
		-2.5 0 2.667
		-3.5 0 4
		-2.5 0 4
		;
//The same strip arched upwards along its length.
createNode transform -n "archedGuide";
createNode nurbsSurface -n "archedGuideShape" -p "archedGuide";
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
//The strip twisted by 90 degrees from root to tip.
createNode transform -n "twistedGuide";
createNode nurbsSurface -n "twistedGuideShape" -p "twistedGuide";
	setAttr -k off ".v";
	setAttr ".cc" -type "nurbsSurface" 
		3 1 0 0 no 
		6 0 0 0 1 1 1
		2 0 1
		
		8
		2.5 0.5 0
		3.5 0.5 0
		2.567 0.25 1.333
		3.433 0.75 1.333
		2.75 0.06699 2.667
		3.25 0.933 2.667
		3 0 4
		3 1 4
		;
createNode transform -n "quillo1";
createNode quillo -n "quilloShape" -p "quillo1";
	setAttr -k off ".v";
	setAttr ".racseg" 16;
	setAttr ".barn" 240;
	setAttr ".barl" 0.3;
	setAttr ".updowl" 0.15;
	setAttr -s 2 ".barden[0:1]" 0 1 1  1 1 1;
	setAttr -s 2 ".racthS[0:1]" 0 1 1  1 1 1;
	setAttr -s 2 ".barbts[0:1]" 0 1 1  1 1 1;
	setAttr -s 2 ".barbtadj[0:1]" 0 1 1  1 1 1;
	setAttr -s 2 ".forpss[0:1]" 0 1 1  1 1 1;
	setAttr -s 2 ".forrs[0:1]" 0 1 1  1 1 1;
	setAttr -s 2 ".barbudrs[0:1]" 0 1 1  1 1 1;
	setAttr -s 2 ".kbr1[0:1]" 0 0.5 1  1 0.5 1;
	setAttr -s 2 ".kbr2[0:1]" 0 0.5 1  1 0.5 1;
	setAttr -s 2 ".kbr3[0:1]" 0 0.5 1  1 0.5 1;
	setAttr -s 2 ".kbr4[0:1]" 0 0.5 1  1 0.5 1;
	setAttr -s 3 ".lbarbls[0:2]" 0 0.3 2  0.6 1 2  1 0.15 2;
	setAttr -s 3 ".rbarbls[0:2]" 0 0.3 2  0.6 1 2  1 0.15 2;
	setAttr -s 2 ".barbudb[0:1]" 0 0 2  1 1 2;
	setAttr ".rtc" -type "float3" 0.55 0.3 0.1 ;
	setAttr ".tpc" -type "float3" 1 0.85 0.55 ;
//The growth surface: 8 wide along x, 6 deep along z, raised in the middle.
createNode transform -n "back";
createNode nurbsSurface -n "backShape" -p "back";
	setAttr -k off ".v";
	setAttr ".cc" -type "nurbsSurface" 
		2 1 0 0 no 
		4 0 0 1 1
		2 0 1
		
		6
		-4 0 -8
		-4 0 -1.5
		0 2.5 -8
		0 2.5 -1.5
		4 0 -8
		4 0 -1.5
		;
createNode objectSet -n "backGrowthSet";
createNode transform -n "quilloSystem1";
createNode quilloSystem -n "quilloSystemShape1" -p "quilloSystem1";
	setAttr -k off ".v";
	setAttr ".dispqua" 100;
	setAttr ".dispbarqua" 25;
	setAttr ".gpf" 2;
	setAttr ".gloalScale" 0.45;
	setAttr ".randScale" 0.3;
	setAttr ".power" 0.5;
connectAttr "flatGuideShape.worldSpace[0]" "quilloShape.guidSurfaceInfo[0].guidSurface";
connectAttr "archedGuideShape.worldSpace[0]" "quilloShape.guidSurfaceInfo[1].guidSurface";
connectAttr "twistedGuideShape.worldSpace[0]" "quilloShape.guidSurfaceInfo[2].guidSurface";
connectAttr "backShape.iog" "backGrowthSet.dsm" -na;
connectAttr "backGrowthSet.msg" "quilloSystemShape1.growthSet";
connectAttr "backShape.worldSpace[0]" "quilloSystemShape1.inputGrowSurface";
connectAttr "quilloShape.featherInfoID" "quilloSystemShape1.inRenderFeather";
// End of featherGuides.ma
