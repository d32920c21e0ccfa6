//Maya ASCII 2013 scene
//Name: animatedWing.ma
//A wing that bends: a growth surface and a guide surface skinned to a two-joint chain whose
//elbow (joint2, at x = 2) turns about z from 0 at frame 1 to 60 degrees at frame 24. The feather
//system grows on the bending surface, borrowing the feather node's description blended from the
//guide that rides on the outer joint. quillo export --frames 1:24 writes one file per frame.
requires maya "2013";
currentUnit -l centimeter -a degree -t film;
fileInfo "application" "maya";
createNode transform -s -n "persp";
	setAttr ".v" no;
	setAttr ".t" -type "double3" 2 9 8 ;
	setAttr ".r" -type "double3" -45 0 0 ;
createNode camera -s -n "perspShape" -p "persp";
	setAttr -k off ".v" no;
	setAttr ".fl" 35;
	setAttr ".coi" 10.2;
	setAttr ".imn" -type "string" "persp";
createNode joint -n "joint1";
createNode joint -n "joint2" -p "joint1";
	setAttr ".t" -type "double3" 2 0 0 ;
//The growth surface: x from 0 to 4, z from -3 to 0, one CV column at each joint and one at
//the tip. CVs u * 2 + v.
createNode transform -n "wing";
createNode nurbsSurface -n "wingShape" -p "wing";
	setAttr -k off ".v";
createNode nurbsSurface -n "wingShapeOrig" -p "wing";
	setAttr -k off ".v";
	setAttr ".io" yes;
	setAttr ".cc" -type "nurbsSurface" 
		1 1 0 0 no 
		3 0 1 2
		2 0 1
		
		6
		0 0 -3
		0 0 0
		2 0 -3
		2 0 0
		4 0 -3
		4 0 0
		;
//The guide: a strip 1 wide along +z beyond the wing's tip, on the outer joint alone.
createNode transform -n "guide";
createNode nurbsSurface -n "guideShape" -p "guide";
	setAttr -k off ".v";
createNode nurbsSurface -n "guideShapeOrig" -p "guide";
	setAttr -k off ".v";
	setAttr ".io" yes;
	setAttr ".cc" -type "nurbsSurface" 
		3 1 0 0 no 
		6 0 0 0 1 1 1
		2 0 1
		
		8
		3 0 0
		4 0 0
		3 0 1.333
		4 0 1.333
		3 0 2.667
		4 0 2.667
		3 0 4
		4 0 4
		;
createNode skinCluster -n "wingSkin";
	setAttr -s 6 ".wl";
	setAttr ".wl[0:5].w"
		1 0 1
		1 0 1
		2 0 0.5 1 0.5
		2 0 0.5 1 0.5
		1 1 1
		1 1 1;
	setAttr ".pm[1]" -type "matrix" 1 0 0 0 0 1 0 0 0 0 1 0 -2 0 0 1;
createNode skinCluster -n "guideSkin";
	setAttr -s 8 ".wl";
	setAttr ".wl[0:7].w" 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1;
	setAttr ".pm[1]" -type "matrix" 1 0 0 0 0 1 0 0 0 0 1 0 -2 0 0 1;
createNode animCurveTA -n "joint2_rotateZ";
	setAttr ".tan" 2;
	setAttr ".wgt" no;
	setAttr -s 2 ".ktv[0:1]"  1 0 24 60;
createNode transform -n "quillo1";
createNode quillo -n "quilloShape" -p "quillo1";
	setAttr -k off ".v";
	setAttr ".racseg" 12;
	setAttr ".barn" 60;
	setAttr ".barl" 0.3;
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
createNode objectSet -n "wingGrowthSet";
createNode transform -n "quilloSystem1";
createNode quilloSystem -n "quilloSystemShape1" -p "quilloSystem1";
	setAttr -k off ".v";
	setAttr ".dispqua" 100;
	setAttr ".dispbarqua" 25;
	setAttr ".gpf" 1;
	setAttr ".gloalScale" 0.3;
	setAttr ".randScale" 0.3;
createNode script -n "sceneConfigurationScriptNode";
	setAttr ".b" -type "string" "playbackOptions -min 1 -max 24 -ast 1 -aet 24 ";
	setAttr ".st" 6;
select -ne :time1;
	setAttr ".o" 1;
connectAttr "joint1.s" "joint2.is";
connectAttr "joint2_rotateZ.o" "joint2.rz";
connectAttr "wingShapeOrig.ws" "wingSkin.ip[0].ig";
connectAttr "wingShapeOrig.l" "wingSkin.orggeom[0]";
connectAttr "joint1.wm" "wingSkin.ma[0]";
connectAttr "joint2.wm" "wingSkin.ma[1]";
connectAttr "wingSkin.og[0]" "wingShape.cr";
connectAttr "guideShapeOrig.ws" "guideSkin.ip[0].ig";
connectAttr "guideShapeOrig.l" "guideSkin.orggeom[0]";
connectAttr "joint1.wm" "guideSkin.ma[0]";
connectAttr "joint2.wm" "guideSkin.ma[1]";
connectAttr "guideSkin.og[0]" "guideShape.cr";
connectAttr "guideShape.worldSpace[0]" "quilloShape.guidSurfaceInfo[0].guidSurface";
connectAttr "wingShape.iog" "wingGrowthSet.dsm" -na;
connectAttr "wingGrowthSet.msg" "quilloSystemShape1.growthSet";
connectAttr "wingShape.worldSpace[0]" "quilloSystemShape1.inputGrowSurface";
connectAttr "quilloShape.featherInfoID" "quilloSystemShape1.inRenderFeather";
// End of animatedWing.ma
