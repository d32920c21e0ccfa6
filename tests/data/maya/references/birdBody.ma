//Maya ASCII 2013 scene
//Name: birdBody.ma
//A bird's back: the growth surface the rig in birdRig.ma references, 8 wide along x and 6 deep
//along z, raised in the middle.
requires maya "2013";
currentUnit -l centimeter -a degree -t film;
createNode transform -n "back";
	addAttr -ci true -sn "featherZone" -ln "featherZone" -at "long";
	addAttr -ci true -sn "oldTag" -ln "oldTag" -dt "string";
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
// End of birdBody.ma
