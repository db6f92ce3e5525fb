// The public tables of names of level/nombres/*.tsv, built in so that every program, the page
// included, has them without files beside it. A test checks that they match the files.
namespace nombres_incluidos {
extern const char* const TR1;
extern const char* const TR2;
extern const char* const TR3;
const char* const TR1 = R"tsv(# id	name	kind (moveable, or any of pickup, nullmesh, helper, unused, sprite, menu): from the public format documentation (TRosettaStone 3, catalogues, "Entity Types")
0	Lara	moveable
1	Lara pistols animation	helper
2	Lara shotgun animation	helper
3	Lara magnums animation	helper
4	Lara uzis animation	helper
5	Lara misc	helper
6	Doppelganger	moveable
7	Wolf	moveable
8	Bear	moveable
9	Bat	moveable
10	Crocodile (on land)	moveable
11	Crocodile (in water)	moveable
12	Lion (male)	moveable
13	Lion (female)	moveable
14	Panther	moveable
15	Gorilla	moveable
16	Rat (on land)	moveable
17	Rat (in water)	moveable
18	T-Rex	moveable
19	Raptor	moveable
20	Mutant	moveable
21	Mutant spawn point 1	nullmesh
22	Mutant spawn point 2	nullmesh
23	Centaur mutant	moveable
24	Mummy	moveable
25	DinoWarrior	unused
26	Fish	unused
27	Larson	moveable
28	Pierre	moveable
29	Skateboard	helper
30	Skateboard Kid	moveable
31	The Cowboy	moveable
32	Kold	moveable
33	Winged Natla	moveable
34	Torso Boss	moveable
35	Falling block	moveable
36	Swinging blade	moveable
37	Teeth spikes	moveable
38	Rolling ball	moveable
39	Dart	helper
40	Dart emitter	moveable
41	Lifting door	moveable
42	Slamming doors	moveable
43	Sword of Damocles	moveable
44	Thor's hammer's handle	moveable
45	Thor's hammer's block	helper
46	Thor's lightning ball	moveable
47	Barricade	moveable
48	Pushable block 1	moveable
49	Pushable block 2	moveable
50	Pushable block 3	moveable
51	Pushable block 4	moveable
52	Moving block	moveable
53	Falling ceiling	moveable
54	Sword of Damocles	unused
55	Wall switch	moveable
56	Underwater switch	moveable
57	Door 1	moveable
58	Door 2	moveable
59	Door 3	moveable
60	Door 4	moveable
61	Door 5	moveable
62	Door 6	moveable
63	Door 7	moveable
64	Door 8	moveable
65	Trapdoor 1	moveable
66	Trapdoor 2	moveable
68	Bridge (flat)	moveable
69	Bridge tilt 1	moveable
70	Bridge tilt 2	moveable
71	Passport (opening)	helper,menu
72	Compass	helper,menu
73	Lara's Home photo	helper,menu
74	Animating 1	moveable
75	Animating 2	moveable
76	Animating 3	moveable
77	Cutscene actor 1	moveable
78	Cutscene actor 2	moveable
79	Cutscene actor 3	moveable
80	Cutscene actor 4	moveable
81	Passport (closed)	helper,menu
82	Map	menu,unused
83	Savegame crystal	moveable
84	Pistols	pickup,sprite
85	Shotgun	pickup,sprite
86	Magnums	pickup,sprite
87	Uzis	pickup,sprite
88	Pistol ammo	pickup,sprite
89	Shotgun ammo	pickup,sprite
90	Magnum ammo	pickup,sprite
91	Uzi ammo	pickup,sprite
92	Explosive	sprite,unused
93	Small medipack	pickup,sprite
94	Large medipack	pickup,sprite
95	Sunglasses	helper,menu
96	Cassette player	helper,menu
97	Direction keys	helper,menu
98	Flashlight	menu,unused
99	Pistols	helper,menu
100	Shotgun	helper,menu
101	Magnums	helper,menu
102	Uzis	helper,menu
103	Pistol ammo	helper,menu
104	Shotgun ammo	helper,menu
105	Magnum ammo	helper,menu
106	Uzi ammo	helper,menu
107	Explosive	menu,unused
108	Small medipack	helper,menu
109	Large medipack	helper,menu
110	Puzzle 1	pickup,sprite
111	Puzzle 2	pickup,sprite
112	Puzzle 3	pickup,sprite
113	Puzzle 4	pickup,sprite
114	Puzzle 1	helper,menu
115	Puzzle 2	helper,menu
116	Puzzle 3	helper,menu
117	Puzzle 4	helper,menu
118	Puzzle hole 1	moveable
119	Puzzle hole 2	moveable
120	Puzzle hole 3	moveable
121	Puzzle hole 4	moveable
122	Puzzle done 1	moveable
123	Puzzle done 2	moveable
124	Puzzle done 3	moveable
125	Puzzle done 4	moveable
126	Lead bar	pickup,sprite
127	Lead bar	helper,menu
128	Midas gold touch	moveable
129	Key 1	pickup,sprite
130	Key 2	pickup,sprite
131	Key 3	pickup,sprite
132	Key 4	pickup,sprite
133	Key 1	helper,menu
134	Key 2	helper,menu
135	Key 3	helper,menu
136	Key 4	helper,menu
137	Keyhole 1	moveable
138	Keyhole 2	moveable
139	Keyhole 3	moveable
140	Keyhole 4	moveable
143	Scion piece	pickup
145	Scion (shootable)	moveable
146	Scion	moveable
147	Scion holder	moveable
150	Scion piece	helper,menu
151	Explosion	helper,sprite
153	Water ripples	helper,sprite
155	Bubbles	helper,sprite
158	Blood	helper,sprite
160	Smoke	helper,sprite
161	Centaur statue	moveable
162	Natla's Mines shack	moveable
163	Mutant egg (small)	moveable
164	Ricochet	helper,sprite
165	Sparkles	helper,sprite
166	Gunflare	helper
169	Camera target	nullmesh
170	Waterfall mist	nullmesh
172	Mutant bullet	helper
173	Mutant grenade	helper
176	Lava particles	helper,sprite
177	Lava particle emitter	nullmesh
178	Flame	helper,sprite
179	Flame emitter	nullmesh
180	Flowing Atlantean lava	moveable
181	Mutant egg (big)	moveable
182	Motorboat	moveable
183	Earthquake	nullmesh
189	Lara's ponytail	unused
190	Font graphics	helper,sprite
191	Plant 1	sprite
192	Plant 2	sprite
193	Plant 3	sprite
194	Plant 4	sprite
195	Plant 5	sprite
200	Bag 1	sprite
204	Bag 2	sprite
212	Rock 1	sprite
213	Rock 2	sprite
214	Rock 3	sprite
215	Bag 3	sprite
216	Debris 1	sprite
217	Debris 2	sprite
231	Debris 3	sprite
233	Inca mummy	sprite
236	Debris 4	sprite
237	Debris 5	sprite
238	Debris 6	sprite
239	Debris 7	sprite
)tsv";
const char* const TR2 = R"tsv(# id	name	kind (moveable, or any of pickup, nullmesh, helper, unused, sprite, menu): from the public format documentation (TRosettaStone 3, catalogues, "Entity Types")
0	Lara	moveable
1	Lara pistols animation	helper
2	Lara's ponytail	helper
3	Lara shotgun animation	helper
4	Lara automags animation	helper
5	Lara uzis animation	helper
6	Lara M16 animation	helper
7	Lara grenade gun animation	helper
8	Lara harpoon gun animation	helper
9	Lara flare animation	helper
10	Lara snowmobile animation	helper
11	Lara boat animation	helper
12	Lara misc animations	helper
13	Red snowmobile	moveable
14	Boat	moveable
15	Doberman	moveable
16	Masked goon 1	moveable
17	Masked goon 2	moveable
18	Masked goon 3	moveable
19	Knifethrower	moveable
20	Shotgun goon	moveable
21	Rat	moveable
22	Dragon (front)	helper
23	Dragon (back)	helper
24	Gondola	moveable
25	Shark	moveable
26	Yellow moray eel	moveable
27	Black moray eel	moveable
28	Barracuda	moveable
29	Scuba diver	moveable
30	Gunman 1	moveable
31	Gunman 2	moveable
32	Stick-wielding goon 1	moveable
33	Stick-wielding goon 2	moveable
34	Flamethrower goon	moveable
36	Spider	moveable
37	Giant spider	moveable
38	Crow	moveable
39	Tiger / Snow leopard	moveable
40	Marco Bartoli	moveable
41	Xian Guard w/spear	moveable
42	Xian Guard w/spear statue	moveable
43	Xian Guard w/sword	moveable
44	Xian Guard w/sword statue	moveable
45	Yeti	moveable
46	Bird monster (guards Talion)	moveable
47	Eagle	moveable
48	Mercenary 1	moveable
49	Mercenary 2	moveable
50	Mercenary 3	moveable
51	Black snowmobile	moveable
52	Mercenary snowmobile driver	moveable
53	Monk with long stick	moveable
54	Monk with knife-end stick	moveable
55	Falling block	moveable
57	Loose boards	moveable
58	Swinging sandbag / Spiky ball	moveable
59	Teeth spikes / Glass shards	moveable
60	Rolling ball	moveable
61	Disc	helper
62	Discgun	moveable
63	Drawbridge	moveable
64	Slamming door	moveable
65	Elevator	moveable
66	Minisub	moveable
67	Pushable block 1	moveable
68	Pushable block 2	moveable
69	Pushable block 3	moveable
70	Pushable block 4	moveable
71	Lava bowl	moveable
72	Breakable window 1	moveable
73	Breakable window 2	moveable
76	Airplane propeller	moveable
77	Power saw	moveable
78	Overhead pulley hook	moveable
79	Falling ceiling / Sandbag	moveable
80	Rolling spindle	moveable
81	Wall-mounted knife blade	moveable
82	Statue with knife blade	moveable
83	Multiple boulders / snowballs	moveable
84	Detachable icicles	moveable
85	Spiky wall	moveable
86	Bounce pad	moveable
87	Spiky ceiling	moveable
88	Tibetan bell	moveable
91	Snowmobile belt	moveable
92	Wheel knob	moveable
93	Small wall switch	moveable
94	Underwater propeller	moveable
95	Air fan	moveable
96	Swinging box / spiky ball	moveable
97	Cutscene actor 1	moveable
98	Cutscene actor 2	moveable
99	Cutscene actor 3	moveable
100	UI frame	helper,sprite
101	Rolling storage drums	moveable
102	Zipline handle	moveable
103	Push-button switch	moveable
104	Wall switch	moveable
105	Underwater switch	moveable
106	Door 1	moveable
107	Door 2	moveable
108	Door 3	moveable
109	Door 4	moveable
110	Door 5	moveable
111	Lifting door 1	moveable
112	Lifting door 2	moveable
113	Lifting door 3	moveable
114	Trapdoor 1	moveable
115	Trapdoor 2	moveable
116	Trapdoor 3	moveable
117	Bridge flat	moveable
118	Bridge tilt 1	moveable
119	Bridge tilt 2	moveable
120	Secret 1	helper,menu
121	Secret 2	helper,menu
122	Lara's home photo	helper,menu
123	Cutscene actor 4	moveable
124	Cutscene actor 5	moveable
125	Cutscene actor 6	moveable
126	Cutscene actor 7	moveable
127	Cutscene actor 8	moveable
128	Cutscene actor 9	moveable
129	Cutscene actor 10	moveable
130	Cutscene actor 11	moveable
133	Secret 3	helper,menu
134	Map	menu,unused
135	Pistols	pickup,sprite
136	Shotgun	pickup,sprite
137	Automags	pickup,sprite
138	Uzi	pickup,sprite
139	Harpoon gun	pickup,sprite
140	M16	pickup,sprite
141	Grenade gun	pickup,sprite
142	Pistol ammo	pickup,sprite
143	Shotgun ammo	pickup,sprite
144	Auto-pistol ammo	pickup,sprite
145	Uzi ammo	pickup,sprite
146	Harpoon gun ammo	pickup,sprite
147	M16 ammo	pickup,sprite
148	Grenadegun ammo	pickup,sprite
149	Small medipack	pickup,sprite
150	Large medipack	pickup,sprite
151	Flares	pickup,sprite
152	Flare	helper
153	Sunglasses	helper,menu
154	CD player	helper,menu
155	Direction keys	helper,menu
157	Pistols	helper,menu
158	Shotgun	helper,menu
159	Automags	helper,menu
160	Uzi	helper,menu
161	Harpoon gun	helper,menu
162	M16	helper,menu
163	Grenade gun	helper,menu
164	Pistol ammo	helper,menu
165	Shotgun ammo	helper,menu
166	Automag ammo	helper,menu
167	Uzi ammo	helper,menu
168	Harpoon gun ammo	helper,menu
169	M16 ammo	helper,menu
170	Grenadegun ammo	helper,menu
171	Small medipack	helper,menu
172	Large medipack	helper,menu
173	Flares	helper,menu
174	Puzzle 1	pickup,sprite
175	Puzzle 2	pickup,sprite
176	Puzzle 3	pickup,sprite
177	Puzzle 4	pickup,sprite
178	Puzzle 1	helper,menu
179	Puzzle 2	helper,menu
180	Puzzle 3	helper,menu
181	Puzzle 4	helper,menu
182	Puzzle hole 1	moveable
183	Puzzle hole 2	moveable
184	Puzzle hole 3	moveable
185	Puzzle hole 4	moveable
186	Puzzle done 1	moveable
187	Puzzle done 2	moveable
188	Puzzle done 3	moveable
189	Puzzle done 4	moveable
190	Secret 1	pickup,sprite
191	Secret 2	pickup,sprite
192	Secret 3	pickup,sprite
193	Key 1	pickup,sprite
194	Key 2	pickup,sprite
195	Key 3	pickup,sprite
196	Key 4	pickup,sprite
197	Key 1	helper,menu
198	Key 2	helper,menu
199	Key 3	helper,menu
200	Key 4	helper,menu
201	Keyhole 1	moveable
202	Keyhole 2	moveable
203	Keyhole 3	moveable
204	Keyhole 4	moveable
205	Quest item 1	pickup,sprite
206	Quest item 2	pickup,sprite
207	Quest item 1	helper,menu
208	Quest item 2	helper,menu
209	Dragon explosion effect 1	helper
210	Dragon explosion effect 2	helper
211	Dragon explosion effect 3	helper
212	Alarm	nullmesh
213	Dripping water	nullmesh
214	T-Rex	moveable
215	Singing birds	nullmesh
216	Bartoli's Hideout clock	nullmesh
217	Placeholder	nullmesh
218	Dragon bones (front)	helper
219	Dragon bones (back)	helper
220	Extra fire	helper,sprite
222	Aquatic Mine (Venice)	moveable
223	Menu background	helper
224	Gray disk	helper,sprite
225	Gong stick	helper
226	Gong	moveable
227	Detonator box	moveable
228	Helicopter (Diving Area)	moveable
229	Explosion	helper,sprite
230	Water ripples	helper,sprite
231	Bubbles	helper,sprite
233	Blood	helper,sprite
235	Flare sparkles	helper,sprite
236	Glow	helper,sprite
238	Ricochet	helper,sprite
240	Gunflare	helper
241	M16 gunflare	helper
243	Camera target	nullmesh
244	Waterfall mist	nullmesh
245	Harpoon	unused
247	Placeholder	nullmesh
248	Grenade (single)	helper
249	Harpoon (flying)	helper
250	Lava particles	helper,sprite
251	Lava / air particle emitter	nullmesh
252	Flame	helper,sprite
253	Flame emitter	nullmesh
254	Skybox	helper
255	Font graphics	helper,sprite
256	Monk	moveable
257	Door bell	nullmesh
258	Alarm bell	nullmesh
259	Helicopter	moveable
260	Winston	moveable
262	Lara cutscene placement	nullmesh
263	Shotgun animation	helper
264	Dragon explosion emitter	nullmesh
)tsv";
const char* const TR3 = R"tsv(# id	name	kind (moveable, or any of pickup, nullmesh, helper, unused, sprite, menu): from the public format documentation (TRosettaStone 3, catalogues, "Entity Types")
0	Lara	moveable
1	Lara pistol animation	helper
2	Lara's ponytail	helper
3	Lara shotgun animation	helper
4	Lara Desert Eagle animation	helper
5	Lara Uzi animation	helper
6	Lara MP5 animation	helper
7	Lara rocket launcher animation	helper
8	Lara grenade gun animation	helper
9	Lara harpoon gun animation	helper
10	Lara flare animation	helper
11	Lara UPV animation	helper
12	UPV	moveable
14	Kayak	moveable
15	Inflatable boat	moveable
16	Quadbike	moveable
17	Mine cart	moveable
18	Big gun	moveable
19	Hydro propeller (?)	moveable
20	Tribesman with spiked axe	moveable
21	Tribesman with poison-dart gun	moveable
22	Dog	moveable
23	Rat	moveable
24	Kill All Triggers	nullmesh
25	Killer whale	moveable
26	Scuba diver	moveable
27	Crow	moveable
28	Tiger	moveable
29	Vulture	moveable
30	Assault-course target	moveable
31	Crawler mutant in closet	moveable
32	Crocodile (in water)	moveable
34	Compsognathus	moveable
35	Lizard man	moveable
36	Puna	moveable
37	Mercenary	moveable
38	Raptor hung by rope	moveable
39	RX-Tech guy in red jacket	moveable
40	RX-Tech guy with gun	moveable
41	Dog (Antarctica)	moveable
42	Crawler mutant	moveable
44	Tinnos wasp	moveable
45	Tinnos monster	moveable
46	Brute mutant (with claw)	moveable
47	Tinnos wasp respawn point	nullmesh
48	Raptor respawn point	nullmesh
49	Willard spider	moveable
50	RX-Tech flamethrower guy	moveable
51	London mercenary	moveable
53	Punk	moveable
56	London guard	moveable
57	Sophia Lee	moveable
58	Cleaner robot	moveable
60	MP with stick	moveable
61	MP with gun	moveable
62	Prisoner	moveable
63	MP with sighted gun and night sight	moveable
64	Gun turret	moveable
65	Dam guard	moveable
66	Tripwire	nullmesh
67	Electrified wire	nullmesh
68	Killer tripwire	nullmesh
69	Cobra / Rattlesnake	moveable
70	Shiva	moveable
71	Monkey	moveable
73	Tony Firehands	moveable
74	AI Guard	nullmesh
75	AI Ambush	nullmesh
76	AI Patrol 1	nullmesh
77	AI Modify	nullmesh
78	AI Follow	nullmesh
79	AI Patrol 2	nullmesh
80	AI Path	nullmesh
81	AI Check	nullmesh
82	Unknown	nullmesh
83	Falling block	moveable
86	Swinging thing	moveable
87	Teeth spikes / Barbed wire	moveable
88	Rolling ball / Barrel	moveable
89	Giant boulder	moveable
90	Disc	helper
91	Dart shooter	moveable
94	Skeleton trap / Slamming door	moveable
97	Pushable block 1	moveable
98	Pushable block 2	moveable
101	Destroyable boarded-up window	moveable
102	Destroyable boarded-up window / wall	moveable
106	Area 51 swinger	moveable
107	Falling ceiling	moveable
108	Rolling spindle	moveable
110	Subway train	moveable
111	Wall knife blade / Knife disk	moveable
113	Detachable stalactites	moveable
114	Spiky wall	moveable
116	Spiky vertical wall / Tunnel borer	moveable
117	Valve wheel / Pulley	moveable
118	Small wall switch	moveable
119	Damaging animating 1	moveable
120	Damaging animating 2	moveable
121	Damaging animating 3	moveable
122	Shiva statue	moveable
123	Monkey medipack meshswap	moveable
124	Monkey key meshswap	moveable
125	UI frame	helper,sprite
127	Zipline handle	moveable
128	Push-button switch	moveable
129	Wall switch	moveable
130	Underwater switch	moveable
131	Door 1	moveable
132	Door 2	moveable
133	Door 3	moveable
134	Door 4	moveable
135	Door 5	moveable
136	Door 6	moveable
137	Door 7	moveable
138	Door 8	moveable
139	Trapdoor 1	moveable
140	Trapdoor 2	moveable
141	Trapdoor 3	moveable
142	Bridge flat	moveable
143	Bridge tilt 1	moveable
144	Bridge tilt 2	moveable
145	Passport (opening up)	helper
146	Stopwatch	helper
147	Lara's Home photo	helper
148	Cutscene actor 1	moveable
149	Cutscene actor 2	moveable
150	Cutscene actor 3	moveable
151	Cutscene actor 4	moveable
152	Cutscene actor 5	moveable
153	Cutscene actor 6	moveable
154	Cutscene actor 7	moveable
155	Cutscene actor 8	moveable
156	Cutscene actor 9	moveable
158	Passport (closed)	helper
159	Map	helper
160	Pistols	pickup
161	Shotgun	pickup
162	Desert Eagle	pickup
163	Uzis	pickup
164	Harpoon gun	pickup
165	MP5	pickup
166	Rocket launcher	pickup
167	Grenade launcher	pickup
168	Pistol ammo	pickup
169	Shotgun ammo	pickup
170	Desert Eagle ammo	pickup
171	Uzi ammo	pickup
172	Harpoons	pickup
173	MP5 ammo	pickup
174	Rockets	pickup
175	Grenades	pickup
176	Small medipack	pickup
177	Large medipack	pickup
178	Flares	pickup
179	Flare	helper
180	Savegame crystal	pickup
181	Sunglasses	helper,menu
182	Portable CD Player	helper,menu
183	Direction keys	helper,menu
184	Globe	helper,menu
185	Pistols	helper,menu
186	Shotgun	helper,menu
187	Desert Eagle	helper,menu
188	Uzis	helper,menu
189	Harpoon gun	helper,menu
190	MP5	helper,menu
191	Rocket launcher	helper,menu
192	Grenade gun	helper,menu
193	Pistol ammo	helper,menu
194	Shotgun ammo	helper,menu
195	Desert Eagle ammo	helper,menu
196	Uzi ammo	helper,menu
197	Harpoons	helper,menu
198	MP5 ammo	helper,menu
199	Rockets	helper,menu
200	Grenades	helper,menu
201	Small medipack	helper,menu
202	Large medipack	helper,menu
203	Flares	helper,menu
204	Savegame crystal	helper,menu
205	Puzzle 1	pickup
206	Puzzle 2	pickup
207	Puzzle 3	pickup
208	Puzzle 4	pickup
209	Puzzle 1	helper,menu
210	Puzzle 2	helper,menu
211	Puzzle 3	helper,menu
212	Puzzle 4	helper,menu
213	Slot 1 empty	moveable
214	Slot 2 empty	moveable
215	Slot 3 empty	moveable
216	Slot 4 empty	moveable
217	Slot 1 full	moveable
218	Slot 2 full	moveable
219	Slot 3 full	moveable
220	Slot 4 full	moveable
224	Key 1	pickup
225	Key 2	pickup
226	Key 3	pickup
227	Key 4	pickup
228	Key 1	helper,menu
229	Key 2	helper,menu
230	Key 3	helper,menu
231	Key 4	helper,menu
232	Keyhole 1	moveable
233	Keyhole 2	moveable
234	Keyhole 3	moveable
235	Keyhole 4	moveable
236	Quest item 1	pickup
237	Quest item 2	pickup
238	Quest item 1	helper,menu
239	Quest item 2	helper,menu
240	Infada stone	pickup
241	Element 115	pickup
242	Eye of Isis	pickup
243	Ora dagger	pickup
244	Infada stone	helper,menu
245	Element 115	helper,menu
246	Eye of Isis	helper,menu
247	Ora dagger	helper,menu
272	Keys (sprite)	moveable
273	Keys (sprite)	moveable
276	Infada stone	pickup
277	Element 115	pickup
278	Eye of Isis	pickup
279	Ora dagger	pickup
282	Fire-breathing dragon statue	moveable
285	Unknown visible 285	moveable
287	Tyrannosaur	moveable
288	Raptor	moveable
291	Laser sweeper	moveable
292	Electrified Field	moveable
294	Shadow sprite	helper,sprite
295	Detonator switch box	moveable
296	Misc sprites	helper,sprite
297	Bubble	helper,sprite
299	Glow	helper,sprite
300	Gunflare	helper
301	Gunflare (MP5)	helper
304	Look At item	helper
305	Waterfall mist	helper
306	Harpoon (single)	moveable
309	Rocket (single)	moveable
310	Harpoon (single)	moveable
311	Grenade (single)	moveable
312	Big missile	moveable
313	Smoke	helper
314	Movable Boom	moveable
315	Lara skin	helper
316	Glow 2	helper,sprite
317	Unknown visible 317	moveable
318	Alarm light	moveable
319	Light	nullmesh
321	Light 2	nullmesh
322	Pulsating Light	nullmesh
324	Red Light	nullmesh
325	Green Light	nullmesh
326	Blue Light	nullmesh
327	Light 3	nullmesh
328	Light 4	nullmesh
330	Fire	nullmesh
331	Alternate Fire	nullmesh
332	Alternate Fire 2	nullmesh
333	Fire 2	nullmesh
334	Smoke 2	nullmesh
335	Smoke 3	nullmesh
336	Smoke 4	nullmesh
337	Greenish Smoke	nullmesh
338	Pirahnas	nullmesh
339	Fish	moveable
347	Bat swarm	nullmesh
349	Animating 1	moveable
350	Animating 2	moveable
351	Animating 3	moveable
352	Animating 4	moveable
353	Animating 5	moveable
354	Animating 6	moveable
355	Skybox	helper
356	Font graphics	helper,sprite
357	Doorbell	nullmesh
358	Unknown id 358	nullmesh
360	Winston	moveable
361	Winston in camo suit	moveable
362	Timer font graphics	helper,sprite
365	Earthquake	nullmesh
366	Yellow shell casing	helper
367	Red shell casing	helper
370	Tinnos light shaft	moveable
373	Electrical switch box	moveable
)tsv";
} // namespace nombres_incluidos
