// The host's view drawn with three.js: the meshes the frame shaded (head
// light, flat shade, wire, as the host's own pictures show them) and every
// primitive of its draw lists, in the host's order (X-ray last, then by depth
// priority, then as drawn), on top of the shaded meshes. 2D primitives are
// in view pixels with the origin at the bottom left, as the host records them.

import * as THREE from 'three';
import { LineSegments2 } from 'three/addons/lines/LineSegments2.js';
import { LineSegmentsGeometry } from 'three/addons/lines/LineSegmentsGeometry.js';
import { LineMaterial } from 'three/addons/lines/LineMaterial.js';
import { CSS2DRenderer, CSS2DObject } from 'three/addons/renderers/CSS2DRenderer.js';

// The host's colours are display values: no colour management on the way.
THREE.ColorManagement.enabled = false;

const SURFACE = [0.62, 0.62, 0.64];
const WIRE = [0.09, 0.09, 0.11, 0.6];
const BOLD_WEIGHT = 63;

const surfaceShader = {
  vertexShader: `
    varying vec3 vView;
    void main() {
      vec4 mv = modelViewMatrix * vec4(position, 1.0);
      vView = mv.xyz;
      gl_Position = projectionMatrix * mv;
    }`,
  fragmentShader: `
    uniform vec3 base;
    uniform float ortho;
    varying vec3 vView;
    void main() {
      vec3 n = normalize(cross(dFdx(vView), dFdy(vView)));
      vec3 toEye = ortho > 0.5 ? vec3(0.0, 0.0, 1.0) : normalize(-vView);
      float shade = 0.22 + 0.78 * abs(dot(n, toEye));
      gl_FragColor = vec4(base * shade, 1.0);
    }`,
};

/** Reads a binary mesh message (see studio/FrameMessages.h). */
export function readMeshMessage(buffer) {
  const view = new DataView(buffer);
  const length = view.getUint32(0, true);
  const header = JSON.parse(new TextDecoder().decode(new Uint8Array(buffer, 4, length)));
  let offset = 4 + length;
  const points = new Float32Array(buffer, offset, header.points * 3);
  offset += points.byteLength;
  const triangles = new Uint32Array(buffer, offset, header.triangles * 3);
  offset += triangles.byteLength;
  const edges = new Uint32Array(buffer, offset, header.edges * 2);
  return { header, points, triangles, edges };
}

function vec(a, i = 0) {
  return new THREE.Vector3(a[i], a[i + 1], a[i + 2]);
}

function planeBasis(normal) {
  let n = normal.clone().normalize();
  if (n.lengthSq() === 0) n = new THREE.Vector3(0, 0, 1);
  const helper = Math.abs(n.x) < 0.9 ? new THREE.Vector3(1, 0, 0) : new THREE.Vector3(0, 1, 0);
  const e1 = new THREE.Vector3().crossVectors(helper, n).normalize();
  const e2 = new THREE.Vector3().crossVectors(n, e1);
  return [e1, e2];
}

function sweepBetween(from, to) {
  let sweep = to - from;
  while (sweep <= 1e-12) sweep += 2 * Math.PI;
  return sweep;
}

/** The dash and gap lengths in pixels of a line style (as the host's pictures draw them). */
function dashesOf(p) {
  const u = Math.max(1, p.lineWidth);
  if (p.stipple) {
    const [factor, pattern] = p.stipple;
    let on = 0;
    for (let bit = 0; bit < 16; ++bit) if ((pattern >> bit) & 1) ++on;
    if (on === 0 || on === 16) return null;
    return [on * factor, (16 - on) * factor];
  }
  switch (p.lineStyle) {
    case 'shortDotted': return [u, 2.2 * u];
    case 'dotted': return [u, 3.5 * u];
    case 'shortDashed': return [3 * u, 2 * u];
    case 'dashed': return [7 * u, 4 * u];
    default: return null;
  }
}

/** The mean length of (a sample of) a mesh's edges, in object space. */
function meanEdgeLength(points, edges) {
  const count = edges.length / 2;
  if (!count) return 0;
  const step = Math.max(1, Math.floor(count / 4096));
  let sum = 0;
  let n = 0;
  for (let e = 0; e < count; e += step, ++n) {
    const a = 3 * edges[2 * e];
    const b = 3 * edges[2 * e + 1];
    sum += Math.hypot(points[a] - points[b], points[a + 1] - points[b + 1], points[a + 2] - points[b + 2]);
  }
  return sum / n;
}

/**
 * The wire's opacity for edges of a given length in pixels. The host's
 * pictures draw it at half a pixel's width on a supersampled grid; a line of
 * one pixel as WebGL draws it covers twice that, and on a dense mesh would
 * cover the surface whole: the wire fades as its edges grow short.
 */
function wireOpacity(edgePixels) {
  return WIRE[3] * Math.min(1, Math.max(0.3, (edgePixels - 0.5) / 12));
}

export class HostView {
  constructor(container) {
    this.container = container;
    // Two canvases: the shaded meshes below, drawn again only when they or
    // the camera change, and the draw lists above, drawn for every frame: a
    // drag redraws the draw lists alone, which keeps it quick on a dense source.
    this.meshRenderer = new THREE.WebGLRenderer({ antialias: true, alpha: true, preserveDrawingBuffer: true });
    this.renderer = new THREE.WebGLRenderer({ antialias: true, alpha: true, preserveDrawingBuffer: true });
    for (const r of [this.meshRenderer, this.renderer]) {
      r.outputColorSpace = THREE.LinearSRGBColorSpace;
      r.setPixelRatio(window.devicePixelRatio || 1);
      r.setClearColor(0x000000, 0);
      r.autoClear = false;
      container.appendChild(r.domElement);
    }
    this.labels = new CSS2DRenderer();
    this.hudLabels = new CSS2DRenderer();
    for (const l of [this.labels, this.hudLabels]) {
      l.domElement.className = 'labels';
      container.appendChild(l.domElement);
    }
    this.meshScene = new THREE.Scene();
    this.scene = new THREE.Scene();
    this.hud = new THREE.Scene();
    this.meshesDirty = true;
    this.camera = new THREE.PerspectiveCamera();
    this.camera.matrixAutoUpdate = false;
    this.hudCamera = new THREE.OrthographicCamera(0, 1, 1, 0, -10, 10);
    this.meshes = new Map();    // path -> { geometry, surface, wire }
    this.groups = [];           // per draw list group: its primitives' objects
    this.lineMaterials = new Set();
    this.dashed = [];           // 3D dashed lines: their dashes follow the view
    this.width = 1;
    this.height = 1;
    this.ortho = false;
    this.frames = 0;
    this.pendingRender = false;
  }

  setSize(width, height) {
    this.width = width;
    this.height = height;
    this.renderer.setSize(width, height);
    this.meshRenderer.setSize(width, height);
    this.labels.setSize(width, height);
    this.hudLabels.setSize(width, height);
    Object.assign(this.hudCamera, { left: 0, right: width, top: height, bottom: 0 });
    this.hudCamera.updateProjectionMatrix();
    for (const m of this.lineMaterials) m.resolution.set(width, height);
    this.meshesDirty = true;
    this.requestRender();
  }

  // ------------------------------------------------------------ meshes

  receiveMesh(buffer) {
    const { header, points, triangles, edges } = readMeshMessage(buffer);
    const old = this.meshes.get(header.path);
    if (old) this.dropMesh(header.path);
    const geometry = new THREE.BufferGeometry();
    const position = new THREE.BufferAttribute(points, 3);
    geometry.setAttribute('position', position);
    geometry.setIndex(new THREE.BufferAttribute(triangles, 1));
    const wireGeometry = new THREE.BufferGeometry();
    wireGeometry.setAttribute('position', position);
    wireGeometry.setIndex(new THREE.BufferAttribute(edges, 1));
    const surface = new THREE.Mesh(geometry, new THREE.ShaderMaterial({
      ...surfaceShader,
      uniforms: { base: { value: new THREE.Color(...SURFACE) }, ortho: { value: 0 } },
      side: THREE.DoubleSide,
      polygonOffset: true, polygonOffsetFactor: 1, polygonOffsetUnits: 1,
    }));
    const wire = new THREE.LineSegments(wireGeometry, new THREE.LineBasicMaterial({
      color: new THREE.Color(WIRE[0], WIRE[1], WIRE[2]), opacity: WIRE[3], transparent: true,
      depthWrite: false,
    }));
    wire.renderOrder = -1;  // before any draw list primitive
    for (const o of [surface, wire]) {
      o.matrixAutoUpdate = false;
      o.frustumCulled = false;
      o.visible = false;  // until a frame places it
      this.meshScene.add(o);
    }
    this.meshes.set(header.path, { header, surface, wire, geometry, wireGeometry, edgeLength: meanEdgeLength(points, edges) });
  }

  dropMesh(path) {
    const m = this.meshes.get(path);
    if (!m) return;
    this.meshScene.remove(m.surface, m.wire);
    this.meshesDirty = true;
    m.geometry.dispose();
    m.wireGeometry.dispose();
    m.surface.material.dispose();
    m.wire.material.dispose();
    this.meshes.delete(path);
  }

  placeMeshes(list) {
    const shown = new Set();
    for (const m of list) {
      const held = this.meshes.get(m.path);
      if (!held) continue;
      shown.add(m.path);
      const placed = JSON.stringify([m.world, m.color, this.ortho]);
      if (held.placed === placed) continue;
      held.placed = placed;
      this.meshesDirty = true;
      const world = new THREE.Matrix4().fromArray(m.world);
      for (const o of [held.surface, held.wire]) {
        o.matrix.copy(world);
        o.matrixWorldNeedsUpdate = true;
        o.visible = true;
      }
      const c = m.color || SURFACE;
      held.surface.material.uniforms.base.value.setRGB(c[0], c[1], c[2]);
      held.surface.material.uniforms.ortho.value = this.ortho ? 1 : 0;
    }
    for (const path of [...this.meshes.keys()]) if (!shown.has(path)) this.dropMesh(path);
  }

  // ------------------------------------------------------------ the camera

  /** The host's camera: its own view and projection matrices. */
  placeCamera(c) {
    const placed = JSON.stringify([c.view, c.projection]);
    if (placed === this.cameraPlaced) return;
    this.cameraPlaced = placed;
    this.meshesDirty = true;
    this.ortho = c.ortho;
    this.hostCamera = c;
    const view = new THREE.Matrix4().fromArray(c.view);
    this.camera.matrix.copy(view).invert();
    this.camera.matrixWorld.copy(this.camera.matrix);
    this.camera.matrixWorldInverse.copy(view);
    this.camera.projectionMatrix.fromArray(c.projection);
    this.camera.projectionMatrixInverse.copy(this.camera.projectionMatrix).invert();
  }

  /** Moves the camera here at once, before the host's next frame confirms it. */
  lookFrom(eye, target, up) {
    const m = new THREE.Matrix4().lookAt(vec(eye), vec(target), vec(up));
    m.setPosition(vec(eye));
    this.camera.matrix.copy(m);
    this.camera.matrixWorld.copy(m);
    this.camera.matrixWorldInverse.copy(m).invert();
    this.cameraPlaced = null;
    this.meshesDirty = true;
    this.requestRender();
  }

  // ------------------------------------------------------------ draw lists

  receiveFrame(frame) {
    this.placeCamera(frame.camera);
    const bg = frame.background;
    const css = (c) => `rgb(${Math.round(c[0] * 255)}, ${Math.round(c[1] * 255)}, ${Math.round(c[2] * 255)})`;
    this.container.style.background = bg.gradient
      ? `linear-gradient(${css(bg.top)}, ${css(bg.bottom)})` : css(bg.top);
    this.placeMeshes(frame.meshes);
    const groups = [];
    frame.groups.forEach((g, i) => {
      if (g.same && this.groups[i]) {
        groups.push(this.groups[i]);
        this.groups[i] = null;
      } else {
        groups.push(this.buildGroup(g));
      }
    });
    for (const old of this.groups) if (old) this.dropGroup(old);
    this.groups = groups;
    this.order();
    this.frames += 1;
    this.requestRender();
  }

  /** Render order: X-ray last, then a higher depth priority later, then draw order. */
  order() {
    const all = [];
    for (const g of this.groups) for (const p of g.primitives) all.push(p);
    all.forEach((p, i) => { p.index = i; });
    all.sort((a, b) => (a.xray - b.xray) || (a.depthPriority - b.depthPriority) || (a.index - b.index));
    all.forEach((p, i) => { for (const o of p.objects) o.renderOrder = i + 1; });
  }

  buildGroup(g) {
    const group = { source: g.source, name: g.name, primitives: [] };
    for (const p of g.primitives) {
      const objects = [];
      try {
        this.buildPrimitive(p, objects);
      } catch (e) {
        console.error('cannot draw a primitive', p, e);
      }
      const target = p.is2D ? this.hud : this.scene;
      for (const o of objects) {
        o.frustumCulled = false;
        target.add(o);
      }
      group.primitives.push({ objects, xray: p.xray ? 1 : 0, depthPriority: p.depthPriority || 0 });
    }
    return group;
  }

  dropGroup(group) {
    for (const p of group.primitives) {
      for (const o of p.objects) {
        o.parent?.remove(o);
        o.geometry?.dispose();
        if (o.material) {
          this.lineMaterials.delete(o.material);
          o.material.dispose();
        }
      }
      this.dashed = this.dashed.filter((d) => !p.objects.includes(d.line));
    }
  }

  materialState(p) {
    return {
      color: new THREE.Color(p.color[0], p.color[1], p.color[2]),
      opacity: p.color[3], transparent: true, depthTest: false, depthWrite: false,
    };
  }

  /** Points of a primitive as vectors; 2D ones in view pixels at z = 0. */
  pointsOf(p, order) {
    const a = p.points;
    const n = a.length / 3;
    const idx = order || [...Array(n).keys()];
    return idx.filter((i) => i < n).map((i) => (p.is2D ? new THREE.Vector3(a[3 * i], a[3 * i + 1], 0) : vec(a, 3 * i)));
  }

  buildPrimitive(p, out) {
    const pts = this.pointsOf(p);
    const pairs = (list) => { const s = []; for (let i = 0; i + 1 < list.length; i += 2) s.push(list[i], list[i + 1]); return s; };
    const strip = (list, closed) => {
      const s = [];
      for (let i = 0; i + 1 < list.length; ++i) s.push(list[i], list[i + 1]);
      if (closed && list.length > 2) s.push(list[list.length - 1], list[0]);
      return s;
    };
    switch (p.kind) {
      case 'line':
      case 'lineList':
        return this.lines(p, pairs(pts), out);
      case 'lineStrip':
        return this.lines(p, strip(pts, false), out);
      case 'points':
        return this.dots(p, pts, out);
      case 'circle':
      case 'arc':
      case 'rect':
        return this.shape(p, out);
      case 'text':
        return this.text(p, out);
      case 'mesh':
        return this.mesh(p, out, pairs, strip);
      default:
        return undefined;
    }
  }

  lines(p, segments, out) {
    if (segments.length < 2) return;
    const flat = new Float32Array(segments.length * 3);
    segments.forEach((v, i) => v.toArray(flat, 3 * i));
    const geometry = new LineSegmentsGeometry();
    geometry.setPositions(flat);
    const dashes = dashesOf(p);
    const material = new LineMaterial({
      ...this.materialState(p), linewidth: Math.max(0.5, p.lineWidth), dashed: !!dashes,
    });
    if (dashes) {
      material.dashSize = dashes[0];
      material.gapSize = dashes[1];
      material.dashScale = 1;
    }
    material.resolution.set(this.width, this.height);
    this.lineMaterials.add(material);
    const line = new LineSegments2(geometry, material);
    if (dashes) {
      const d = { line, segments, is2D: p.is2D };
      this.setDashDistances(d);
      if (!p.is2D) this.dashed.push(d);
    }
    out.push(line);
  }

  /** Dash distances along the line in pixels of the view, as the host's pictures dash. */
  setDashDistances(d) {
    const distances = new Float32Array(d.segments.length);
    const toPixels = (v) => {
      if (d.is2D) return v;
      const q = v.clone().project(this.camera);
      return new THREE.Vector3((q.x + 1) * this.width / 2, (q.y + 1) * this.height / 2, 0);
    };
    let run = 0;
    let previous = null;
    for (let i = 0; i + 1 < d.segments.length; i += 2) {
      const a = toPixels(d.segments[i]);
      const b = toPixels(d.segments[i + 1]);
      if (previous && previous.distanceTo(a) > 1e-6) run = 0;
      distances[i] = run;
      run += a.distanceTo(b);
      distances[i + 1] = run;
      previous = b;
    }
    const buffer = new THREE.InstancedInterleavedBuffer(distances, 2, 1);
    const g = d.line.geometry;
    g.setAttribute('instanceDistanceStart', new THREE.InterleavedBufferAttribute(buffer, 1, 0));
    g.setAttribute('instanceDistanceEnd', new THREE.InterleavedBufferAttribute(buffer, 1, 1));
  }

  dots(p, pts, out) {
    if (!pts.length) return;
    const geometry = new THREE.BufferGeometry().setFromPoints(pts);
    const material = new THREE.PointsMaterial({
      ...this.materialState(p), size: Math.max(1, p.pointSize), sizeAttenuation: false,
    });
    out.push(new THREE.Points(geometry, material));
  }

  fill(p, triangles, out, colors) {
    if (triangles.length < 3) return;
    const geometry = new THREE.BufferGeometry().setFromPoints(triangles);
    const state = this.materialState(p);
    if (colors) {
      geometry.setAttribute('color', new THREE.Float32BufferAttribute(colors, 4));
      state.color = new THREE.Color(1, 1, 1);
      state.opacity = 1;
    }
    out.push(new THREE.Mesh(geometry, new THREE.MeshBasicMaterial({
      ...state, side: THREE.DoubleSide, vertexColors: !!colors,
    })));
  }

  /** Circles, arcs and rectangles as outlines or filled, in their planes. */
  shape(p, out) {
    if (p.points.length < 3) return;
    const centre = p.is2D ? new THREE.Vector3(p.points[0], p.points[1], 0) : vec(p.points);
    let ring = [];
    let pie = false;
    if (p.kind === 'rect') {
      let up;
      let right;
      if (p.is2D) {
        up = new THREE.Vector3(p.up[0], p.up[1], 0).normalize();
        if (up.lengthSq() === 0) up.set(0, 1, 0);
        right = new THREE.Vector3(up.y, -up.x, 0);
      } else {
        up = vec(p.up).normalize();
        right = new THREE.Vector3().crossVectors(up, vec(p.normal)).normalize();
      }
      for (const [x, y] of [[-1, -1], [1, -1], [1, 1], [-1, 1]])
        ring.push(centre.clone().addScaledVector(right, x * p.scaleX).addScaledVector(up, y * p.scaleY));
    } else {
      let e1;
      let e2;
      let from = 0;
      let sweep = 2 * Math.PI;
      if (p.is2D) {
        e1 = new THREE.Vector3(1, 0, 0);
        e2 = new THREE.Vector3(0, 1, 0);
        if (p.kind === 'arc') {
          from = Math.atan2(p.start[1], p.start[0]);
          sweep = sweepBetween(from, Math.atan2(p.end[1], p.end[0]));
        }
      } else if (p.kind === 'arc') {
        const n = vec(p.normal).normalize();
        const s = vec(p.start);
        e1 = s.clone().addScaledVector(n, -s.dot(n)).normalize();
        if (e1.lengthSq() === 0) [e1] = planeBasis(n);
        e2 = new THREE.Vector3().crossVectors(n, e1);
        const end = vec(p.end);
        sweep = sweepBetween(0, Math.atan2(end.dot(e2), end.dot(e1)));
      } else {
        [e1, e2] = planeBasis(vec(p.normal));
      }
      const steps = Math.max(8, Math.round(64 * sweep / (2 * Math.PI)));
      for (let i = 0; i <= steps; ++i) {
        const a = from + sweep * i / steps;
        ring.push(centre.clone().addScaledVector(e1, p.radius * Math.cos(a)).addScaledVector(e2, p.radius * Math.sin(a)));
      }
      pie = p.kind === 'arc';
      if (!pie) ring.pop();
    }
    if (p.filled) {
      const tris = [];
      for (let i = 0; i + 1 < ring.length; ++i) tris.push(pie ? centre : ring[0], ring[i], ring[i + 1]);
      if (!pie) tris.splice(0, 0);
      return this.fill(p, tris, out);
    }
    const closed = p.kind !== 'arc';
    const segments = [];
    for (let i = 0; i + 1 < ring.length; ++i) segments.push(ring[i], ring[i + 1]);
    if (closed) segments.push(ring[ring.length - 1], ring[0]);
    return this.lines(p, segments, out);
  }

  text(p, out) {
    if (!p.text || p.points.length < 3) return;
    const div = document.createElement('div');
    div.className = 'label';
    div.textContent = p.text;
    const c = p.color;
    const size = Math.max(6, p.fontSize * 4 / 3);
    div.style.color = `rgba(${c[0] * 255}, ${c[1] * 255}, ${c[2] * 255}, ${c[3]})`;
    div.style.font = `${p.italic ? 'italic ' : ''}${p.fontWeight >= BOLD_WEIGHT ? 'bold ' : ''}${size}px ${p.fontName || 'sans-serif'}`;
    if (p.background) {
      const b = p.background;
      div.style.background = `rgba(${b[0] * 255}, ${b[1] * 255}, ${b[2] * 255}, ${b[3]})`;
      div.style.padding = '0 3px';
    }
    const label = new CSS2DObject(div);
    label.center.set(p.alignment === 'center' ? 0.5 : p.alignment === 'right' ? 1 : 0, 0.8);
    label.position.copy(p.is2D ? new THREE.Vector3(p.points[0], p.points[1], 0) : vec(p.points));
    out.push(label);
  }

  mesh(p, out, pairs, strip) {
    const order = p.indices || null;
    const pts = this.pointsOf(p, order);
    const n = p.points.length / 3;
    const index = (order || [...Array(n).keys()]).filter((i) => i < n);
    switch (p.meshMode) {
      case 'lines': return this.lines(p, pairs(pts), out);
      case 'lineStrip': return this.lines(p, strip(pts, false), out);
      case 'closedLine': return this.lines(p, strip(pts, true), out);
      case 'points': return this.dots(p, pts, out);
      default: break;
    }
    const corners = [];
    if (p.meshMode === 'triStrip') {
      for (let i = 0; i + 2 < index.length; ++i) corners.push(index[i], index[i + 1], index[i + 2]);
    } else {
      for (let i = 0; i + 2 < index.length; i += 3) corners.push(index[i], index[i + 1], index[i + 2]);
    }
    const all = this.pointsOf(p);
    const perVertex = p.colors && p.colors.length >= 4 * n && n > 0;
    const colors = perVertex ? corners.flatMap((i) => p.colors.slice(4 * i, 4 * i + 4)) : null;
    return this.fill(p, corners.map((i) => all[i]), out, colors);
  }

  // ------------------------------------------------------------ drawing

  /**
   * The camera with its depth range narrowed to the meshes: the same picture,
   * but a source and a retopology mesh lying on it a thousandth apart stay
   * apart in the depth buffer (the host's own clip planes span 0.1 to 10000).
   */
  fadeWires(camera) {
    const p = camera.projectionMatrix.elements;
    for (const m of this.meshes.values()) {
      if (!m.surface.visible || !m.geometry.boundingSphere) continue;
      const centre = m.geometry.boundingSphere.center.clone().applyMatrix4(m.surface.matrix);
      const depth = Math.max(1e-6, -centre.applyMatrix4(camera.matrixWorldInverse).z);
      const pixelsPerUnit = p[15] === 0 ? (p[5] * this.height) / 2 / depth : (p[5] * this.height) / 2;
      const scale = new THREE.Vector3().setFromMatrixScale(m.surface.matrix).x || 1;
      m.wire.material.opacity = wireOpacity(m.edgeLength * scale * pixelsPerUnit);
    }
  }

  meshCamera() {
    const camera = this.camera.clone();
    camera.matrixAutoUpdate = false;
    camera.matrix.copy(this.camera.matrix);
    camera.updateMatrixWorld(true);
    let near = Infinity;
    let far = -Infinity;
    for (const m of this.meshes.values()) {
      if (!m.surface.visible) continue;
      if (!m.geometry.boundingSphere) m.geometry.computeBoundingSphere();
      const sphere = m.geometry.boundingSphere.clone().applyMatrix4(m.surface.matrix);
      const depth = -sphere.center.clone().applyMatrix4(this.camera.matrixWorldInverse).z;
      near = Math.min(near, depth - sphere.radius * 1.01);
      far = Math.max(far, depth + sphere.radius * 1.01);
    }
    const p = this.camera.projectionMatrix.elements;
    const perspective = p[15] === 0;
    const hostNear = this.hostCamera?.near ?? 0.1;
    const hostFar = this.hostCamera?.far ?? 10000;
    this.fadeWires(camera);
    if (!(far > near) || !perspective) return camera;
    near = Math.max(near, hostNear);
    far = Math.min(far, hostFar);
    if (!(far > near)) return camera;
    const e = camera.projectionMatrix.elements;
    e[10] = -(far + near) / (far - near);
    e[14] = (-2 * far * near) / (far - near);
    camera.projectionMatrixInverse.copy(camera.projectionMatrix).invert();
    return camera;
  }

  requestRender() {
    if (this.pendingRender) return;
    this.pendingRender = true;
    requestAnimationFrame(() => {
      this.pendingRender = false;
      this.render();
    });
  }

  render() {
    this.camera.updateMatrixWorld(true);
    for (const d of this.dashed) this.setDashDistances(d);
    if (this.meshesDirty) {
      this.meshesDirty = false;
      this.meshRenderer.clear();
      this.meshRenderer.render(this.meshScene, this.meshCamera());
    }
    this.renderer.clear();
    this.renderer.render(this.scene, this.camera);
    this.renderer.clearDepth();
    this.renderer.render(this.hud, this.hudCamera);
    this.labels.render(this.scene, this.camera);
    this.hudLabels.render(this.hud, this.hudCamera);
  }
}
