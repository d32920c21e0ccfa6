//Maya ASCII 2013 scene
//Name: radians.ma
requires maya "2013";
currentUnit -l centimeter -a radian -t film;
createNode transform -n "turned";
	addAttr -ci true -sn "tilt" -ln "tilt" -at "doubleAngle";
	setAttr ".r" -type "double3" 1.5 0.25 -3 ;
	setAttr ".ra" -type "double3" 0 0.5 0 ;
	setAttr ".tilt" 0.75;
	setAttr ".t" -type "double3" 1 2 3 ;
createNode multMatrix -n "moved";
	setAttr ".i[0]" -type "matrix" 1 0 0 0 0 1 0 0 0 0 1 0 5 6 7 1;
// End of radians.ma
