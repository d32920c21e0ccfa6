//Maya ASCII 2013 scene
//Name: planeAndCube.ma
//A NURBS plane with a gentle wave and a polygon cube, each under its own transform, seen
//through the persp camera. quillo render draws it as the viewport would.
requires maya "2013";
currentUnit -l centimeter -a degree -t film;
fileInfo "application" "maya";
createNode transform -s -n "persp";
	setAttr ".v" no;
	setAttr ".t" -type "double3" 6.5 6.5 10 ;
	setAttr ".r" -type "double3" -26.6 36.13 0 ;
createNode camera -s -n "perspShape" -p "persp";
	setAttr -k off ".v" no;
	setAttr ".fl" 35;
	setAttr ".coi" 13.85;
	setAttr ".imn" -type "string" "persp";
	setAttr ".den" -type "string" "persp_depth";
	setAttr ".man" -type "string" "persp_mask";
	setAttr ".hc" -type "string" "viewSet -p %camera";
createNode transform -n "wavyPlane";
	setAttr ".t" -type "double3" -2 0 0 ;
createNode nurbsSurface -n "wavyPlaneShape" -p "wavyPlane";
	setAttr -k off ".v";
	setAttr ".cc" -type "nurbsSurface" 
		3 3 0 0 no 
		7 0 0 0 1 2 2 2
		7 0 0 0 1 2 2 2
		
		25
		-3 0 -3
		-3 0 -1.5
		-3 0 0
		-3 0 1.5
		-3 0 3
		-1.5 0.8 -3
		-1.5 0.5657 -1.5
		-1.5 0 0
		-1.5 -0.5657 1.5
		-1.5 -0.8 3
		0 0 -3
		0 0 -1.5
		0 0 0
		0 0 1.5
		0 0 3
		1.5 -0.8 -3
		1.5 -0.5657 -1.5
		1.5 0 0
		1.5 0.5657 1.5
		1.5 0.8 3
		3 0 -3
		3 0 -1.5
		3 0 0
		3 0 1.5
		3 0 3
		;
createNode transform -n "cube";
	setAttr ".t" -type "double3" 2.8 0.8 0.5 ;
	setAttr ".s" -type "double3" 0.8 0.8 0.8 ;
	setAttr ".r" -type "double3" 0 30 0 ;
createNode mesh -n "cubeShape" -p "cube";
	setAttr -k off ".v";
	setAttr -s 8 ".vt[0:7]"  -1 -1 1  1 -1 1  -1 1 1  1 1 1  -1 1 -1  1 1 -1  -1 -1 -1  1 -1 -1;
	setAttr -s 12 ".ed[0:11]"  0 1 0  2 3 0  4 5 0  6 7 0  0 2 0  1 3 0  2 4 0  3 5 0  4 6 0  5 7 0  6 0 0  7 1 0;
	setAttr -s 6 ".fc[0:5]" -type "polyFaces" 
		f 4 0 5 -2 -5
		f 4 1 7 -3 -7
		f 4 2 9 -4 -9
		f 4 3 11 -1 -11
		f 4 -12 -10 -8 -6
		f 4 10 4 6 8
		;
// End of planeAndCube.ma
