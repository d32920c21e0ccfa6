//Maya ASCII 2013 scene
//Name: components.ma
//A gently curved 5 x 4 grid of vertices. A quilloComponentArray walks the chain "0:4" (one
//row, root at x = -2) by 5 vertex ids across it, making four feather paths, one per row, that
//a quillo feather node grows feathers on. quillo render draws the grid, the four root
//markers and the feathers.
requires maya "2013";
currentUnit -l centimeter -a degree -t film;
fileInfo "application" "maya";
createNode transform -s -n "persp";
	setAttr ".v" no;
	setAttr ".t" -type "double3" 3.2 5 6.2 ;
	setAttr ".r" -type "double3" -35 24 0 ;
createNode camera -s -n "perspShape" -p "persp";
	setAttr -k off ".v" no;
	setAttr ".fl" 35;
	setAttr ".coi" 8.5;
	setAttr ".imn" -type "string" "persp";
	setAttr ".den" -type "string" "persp_depth";
	setAttr ".man" -type "string" "persp_mask";
	setAttr ".hc" -type "string" "viewSet -p %camera";
createNode transform -n "grid";
createNode mesh -n "gridShape" -p "grid";
	setAttr -k off ".v";
	setAttr ".uvst[0].uvsn" -type "string" "map1";
	setAttr -s 20 ".uvst[0].uvsp[0:19]" -type "float2" 0 0 0.25 0 0.5 0 0.75 0 1 0 0 0.333333 0.25 0.333333 0.5 0.333333 0.75 0.333333 1 0.333333 0 0.666667 0.25 0.666667 0.5 0.666667 0.75 0.666667 1 0.666667 0 1 0.25 1 0.5 1 0.75 1 1 1;
	setAttr ".cuvs" -type "string" "map1";
	setAttr -s 20 ".vt[0:19]" -2 -0.225 -1.8 -1 -0.105 -1.8 0 0.255 -1.8 1 0.855 -1.8 2 1.695 -1.8 -2 -0.025 -0.6 -1 0.095 -0.6 0 0.455 -0.6 1 1.055 -0.6 2 1.895 -0.6 -2 -0.025 0.6 -1 0.095 0.6 0 0.455 0.6 1 1.055 0.6 2 1.895 0.6 -2 -0.225 1.8 -1 -0.105 1.8 0 0.255 1.8 1 0.855 1.8 2 1.695 1.8;
	setAttr -s 31 ".ed[0:30]" 0 1 0 1 2 0 2 3 0 3 4 0 5 6 0 6 7 0 7 8 0 8 9 0 10 11 0 11 12 0 12 13 0 13 14 0 15 16 0 16 17 0 17 18 0 18 19 0 0 5 0 1 6 0 2 7 0 3 8 0 4 9 0 5 10 0 6 11 0 7 12 0 8 13 0 9 14 0 10 15 0 11 16 0 12 17 0 13 18 0 14 19 0;
	setAttr -s 12 ".fc[0:11]" -type "polyFaces" 
		f 4 16 4 -18 -1 
		mu 0 4 0 5 6 1 
		f 4 17 5 -19 -2 
		mu 0 4 1 6 7 2 
		f 4 18 6 -20 -3 
		mu 0 4 2 7 8 3 
		f 4 19 7 -21 -4 
		mu 0 4 3 8 9 4 
		f 4 21 8 -23 -5 
		mu 0 4 5 10 11 6 
		f 4 22 9 -24 -6 
		mu 0 4 6 11 12 7 
		f 4 23 10 -25 -7 
		mu 0 4 7 12 13 8 
		f 4 24 11 -26 -8 
		mu 0 4 8 13 14 9 
		f 4 26 12 -28 -9 
		mu 0 4 10 15 16 11 
		f 4 27 13 -29 -10 
		mu 0 4 11 16 17 12 
		f 4 28 14 -30 -11 
		mu 0 4 12 17 18 13 
		f 4 29 15 -31 -12 
		mu 0 4 13 18 19 14 ;
createNode transform -n "rows";
createNode quilloComponentArray -n "rowsShape" -p "rows";
	setAttr ".vergrp" -type "string" "0:4";
	setAttr ".walks" 5;
	setAttr ".locs" 0.4;
createNode transform -n "feathers";
createNode quillo -n "feathersShape" -p "feathers";
	setAttr -k off ".v";
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
connectAttr "gridShape.w" "rowsShape.inm[0]";
connectAttr "rowsShape.outfeatda" "feathersShape.infeatarrayd[0]";
// End of components.ma
