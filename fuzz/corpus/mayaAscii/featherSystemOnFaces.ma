//Maya ASCII 2013 scene
//Name: featherSystemOnFaces.ma
//A feather system growing on one face of a two-quad strip, named by a face set as Maya
//writes it (object group, group id, component list), borrowing a feather node with one guide.
requires maya "2013";
requires "quillo2013" "1.6.5";
currentUnit -l centimeter -a degree -t film;
createNode transform -n "strip";
createNode mesh -n "stripShape" -p "strip";
	setAttr -k off ".v";
	setAttr -s 1 ".iog[0].og";
	setAttr ".iog[0].og[0].gcl" -type "componentList" 1 "f[1]";
	setAttr ".uvst[0].uvsn" -type "string" "map1";
	setAttr -s 6 ".uvst[0].uvsp[0:5]" -type "float2" 0 0 0.5 0 1 0 0 1 0.5 1 1 1;
	setAttr ".cuvs" -type "string" "map1";
	setAttr -s 6 ".vt[0:5]"  0 0 0  1 0 0  2 0 0  0 0 1  1 0 1  2 0 1;
	setAttr -s 7 ".ed[0:6]"  0 1 0  1 2 0  3 4 0  4 5 0  0 3 0  1 4 0  2 5 0;
	setAttr -s 2 ".fc[0:1]" -type "polyFaces" 
		f 4 0 5 -3 -5
		mu 0 4 0 1 4 3
		f 4 1 6 -4 -6
		mu 0 4 1 2 5 4;
createNode transform -n "guide";
createNode nurbsSurface -n "guideShape" -p "guide";
	setAttr -k off ".v";
	setAttr ".cc" -type "nurbsSurface" 
		1 1 0 0 no 
		2 0 1
		2 0 1
		
		4
		0 0 2
		0 0 4
		1 0 2
		1 0 4
		;
createNode transform -n "feather";
createNode quillo -n "featherShape" -p "feather";
createNode transform -n "system";
createNode quilloSystem -n "systemShape" -p "system";
	setAttr ".dispqua" 100;
	setAttr ".useg" 4;
	setAttr ".vseg" 4;
createNode objectSet -n "growthFaces";
	setAttr ".ihi" 0;
createNode groupId -n "groupId1";
	setAttr ".ihi" 0;
connectAttr "groupId1.id" "stripShape.iog.og[0].gid";
connectAttr "stripShape.iog.og[0]" "growthFaces.dsm" -na;
connectAttr "groupId1.msg" "growthFaces.gn" -na;
connectAttr "guideShape.worldSpace[0]" "featherShape.guidSurfaceInfo[0].guidSurface";
connectAttr "growthFaces.msg" "systemShape.growthSet";
connectAttr "stripShape.w" "systemShape.ingrm";
connectAttr "featherShape.feaid" "systemShape.inrf";
// End of featherSystemOnFaces.ma
