//Maya ASCII 2013 scene
//Name: rewiresAFeather.ma
//Gives the feather system another feather node, leaving the first without outputs.
requires maya "2013";
currentUnit -l centimeter -a degree -t film;
createNode transform -n "guide";
createNode nurbsSurface -n "guideShape" -p "guide";
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
createNode transform -n "quillo1";
createNode quillo -n "quilloShape" -p "quillo1";
createNode transform -n "back";
createNode nurbsSurface -n "backShape" -p "back";
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
createNode transform -n "quilloSystem1";
createNode quilloSystem -n "quilloSystemShape1" -p "quilloSystem1";
	setAttr ".dispqua" 20;
	setAttr ".dispbarqua" 10;
connectAttr "guideShape.worldSpace[0]" "quilloShape.guidSurfaceInfo[0].guidSurface";
connectAttr "backShape.worldSpace[0]" "quilloSystemShape1.inputGrowSurface";
connectAttr "quilloShape.featherInfoID" "quilloSystemShape1.inRenderFeather";
createNode transform -n "quillo2";
createNode quillo -n "quilloShape2" -p "quillo2";
connectAttr -f "quilloShape2.featherInfoID" "quilloSystemShape1.inRenderFeather";
// End of rewiresAFeather.ma
